// The integrity checks of the wizard tree: its links, and the list records
// its backdrop nodes refer to.
#include <string>
#include <unordered_set>
#include <vector>

#include "catalog/backdrop_list.h"
#include "catalog/template_list.h"
#include "catalog/wiz_tree.h"
#include "catalog/wizard_fault_list.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_list_format.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"

namespace {

std::string NodeName(const CWizTree& tree, const WizNode* node)
{
    char name[kWizNameSize];
    tree.GetName(node, name, int32_t(sizeof name));
    return name;
}

}  // namespace

int32_t CWizTree::CheckWizardTree(WizardFaultList* list)
{
    struct Link {
        const WizNode* from;      // the node the pointer was read from
        const WizNode* to;
        const WizNode* parent;    // what the linked node's links must say
        const WizNode* prev;
        bool child;
    };
    std::unordered_set<const WizNode*> visited{Root()};
    std::vector<Link> pending;
    if (Root()->firstChild)
        pending.push_back({Root(), Root()->firstChild, Root(), nullptr, true});
    int32_t firstFault = 0;
    auto fault = [&](const WizNode* named, const WizNode* node, int32_t code, const char* text, uint32_t flags) {
        if (!firstFault)
            firstFault = code;
        if (!list)
            return;
        WizardFault f;
        f.displayName = NodeName(*this, named);
        f.node = node;
        f.linkFaults = flags;
        f.treeFaultCode = code;
        f.treeFaultText = text;
        list->entries.push_back(std::move(f));
    };
    int32_t tested = 1;
    while (!pending.empty()) {
        const Link link = pending.back();
        pending.pop_back();
        // A link record must be one this tree made: anything else is not to
        // be read at all.
        if (!OwnsNode(link.to)) {
            if (link.child)
                fault(link.from, link.to, kWizTreeFaultChildPtr, "Node child Ptr is bad.", kWizLinkChild | kWizLinkBadPtr);
            else
                fault(link.from, link.to, kWizTreeFaultNextPtr, "Node next Ptr is bad.", kWizLinkNext | kWizLinkBadPtr);
            continue;
        }
        if (!visited.insert(link.to).second) {
            if (link.child)
                fault(link.from, link.to, kWizTreeFaultChildCycle, "Node has a cycle through its child reference.",
                      kWizLinkChild | kWizLinkCycle);
            else
                fault(link.from, link.to, kWizTreeFaultNextCycle, "Node has a cycle through its next reference.",
                      kWizLinkNext | kWizLinkCycle);
            continue;
        }
        ++tested;
        const WizNode* n = link.to;
        if (n->parent != link.parent)
            fault(n, n, kWizTreeFaultParent, "Node has an incorrect parent reference.", kWizLinkParent);
        if (n->prev != link.prev)
            fault(n, n, kWizTreeFaultPrev, "Node has an incorrect prev reference.", kWizLinkPrev);
        // Pushed so that the subtree is walked before the next sibling.
        if (n->next)
            pending.push_back({n, n->next, link.parent, n, false});
        if (n->firstChild)
            pending.push_back({n, n->firstChild, n, nullptr, true});
    }
    walkCounter_ = tested;
    AlertNote(("Tested nodes = " + std::to_string(tested)).c_str(), 0);
    if (firstFault)
        AlertStop("Tree data structure has errors", firstFault);
    return firstFault;
}

int32_t CWizTree::CheckBackdropRefs(WizardFaultList* list)
{
    int32_t faults = 0;
    for (WizNode* n = Root(); n; n = NextPreOrder(n, Root())) {
        uint32_t group = 0;
        if (GetGroup(n, &group) != 0)
            continue;
        const std::string name = NodeName(*this, n);
        int32_t items = 0;
        if (GetGroupItemCount(int32_t(group), &items) != 0) {
            ++faults;
            if (list) {
                WizardFault f;
                f.displayName = name;
                f.parentName = NodeName(*this, n->parent);
                f.id = group;
                f.node = n;
                f.relationFault = kWizRelationGroupMissing;
                list->entries.push_back(std::move(f));
            }
        }
        int32_t count = 0;
        GetEntryCount(n, &count);
        for (int32_t i = 1; i <= count; ++i) {
            WizTemplateEntry entry;
            uint8_t info[kTmInSize];
            if (GetEntry(n, i, &entry) != 0 || ReadTemplateInfo(int32_t(entry.templateId), info) == 0)
                continue;
            ++faults;
            if (list) {
                char entryName[kWizNameSize];
                WizGetName(reinterpret_cast<const uint8_t*>(entry.name), kWizNameSize, entryName,
                           int32_t(sizeof entryName));
                WizardFault f;
                f.displayName = name + " : " + entryName;
                f.parentName = NodeName(*this, n->parent);
                f.id = entry.templateId;
                f.itemNumber = uint32_t(i);
                f.node = n;
                f.relationFault = kWizRelationTemplateMissing;
                list->entries.push_back(std::move(f));
            }
        }
    }
    return faults;
}

void CWizTree::CountTreeReferences(int32_t mode, WizardFaultList* list)
{
    if (!list)
        return;
    auto count = [&](uint32_t id) {
        for (WizardFault& f : list->entries) {
            if (f.id == id)
                ++f.referenceCount;
        }
    };
    for (WizNode* n = Root(); n; n = NextPreOrder(n, Root())) {
        uint32_t group = 0;
        if (GetGroup(n, &group) != 0)
            continue;
        if (mode == 2) {
            count(group);
        } else if (mode == 1) {
            int32_t entries = 0;
            GetEntryCount(n, &entries);
            for (int32_t i = 1; i <= entries; ++i) {
                WizTemplateEntry entry;
                if (GetEntry(n, i, &entry) == 0)
                    count(entry.templateId);
            }
        }
    }
}
