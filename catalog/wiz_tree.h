// The wizard's catalogue: categories, sub-categories, filters and
// backdrops in one tree (the payload layouts are in wiz_tree_format.h).
//
// Every typed operation reads a node's payload through GetPayload and
// fails (non-zero, or null) when the payload does not fit the node's kind;
// the node itself is kept. Results are 0 for success.
#pragma once

#include <cstdint>

#include "catalog/doc_setup.h"
#include "catalog/wiz_tree_node.h"
#include "foundation/handle.h"
#include "graphics/dib_handle.h"

struct WizardFaultList;

// A template entry of a backdrop node.
struct WizTemplateEntry {
    char name[kWizNameSize] = {};
    uint32_t templateId = 0;
    uint8_t reserved[12] = {};
};
void WizEntryDecode(const uint8_t* bytes, WizTemplateEntry* entry);
void WizEntryEncode(const WizTemplateEntry& entry, uint8_t* bytes);

class CWizTree : public CWizTreeNode {
public:
    CWizTree() = default;
    ~CWizTree() override;

    // The base check, then the move rules of the kinds and document sizes.
    bool CanMove(const WizNode* node, const WizNode* target, int32_t mode) override;
    // 0 when the payload's size fits the kind: categories and
    // sub-categories 248 bytes, filters 76, backdrops at least 164 and
    // large enough for the entries they count; the root and the synthetic
    // kinds any size; 1 otherwise.
    int32_t CheckPayload(uint32_t kind, Handle payload) const override;

    // Names: the label layout's name for categories, the name field
    // otherwise. GetName always terminates the buffer (empty for kinds
    // without a name); SetName keeps at most 63 characters.
    int32_t GetName(const WizNode* node, char* buffer, int32_t size) const;
    int32_t SetName(WizNode* node, const char* name);
    // The 168-byte label layout of a category or sub-category (also the
    // synthetic custom kinds); 1 for other kinds.
    int32_t GetLabelType(const WizNode* node, uint8_t* layout) const;
    int32_t SetLabelType(WizNode* node, const uint8_t* layout);

    // New nodes, appended to their parent (the root for categories). A
    // design picture path (text of a path; null or empty for none) is
    // converted into a design file. Null when that or memory fails.
    WizNode* AddCategory(const uint8_t* labelType, const char* designPath);
    WizNode* AddSubCategory(WizNode* parent, const uint8_t* labelType, const char* designPath);
    WizNode* AddFilter(WizNode* parent);
    WizNode* AddBackdrop(WizNode* parent, uint32_t groupId);
    // Categories: replaces the design file (an empty path leaves none);
    // backdrops: sets the group; the root and filters: nothing.
    int32_t SetDesign(WizNode* node, const char* designPath, uint32_t groupId);
    // The backdrop group of a backdrop node.
    int32_t GetGroup(const WizNode* node, uint32_t* groupId) const;

    // The node's picture, owned by the caller; null when there is none.
    // item is the backdrop item shown for a backdrop node.
    DibHandle GetPicture(const WizNode* node, int32_t item);
    // The document size that applies to the node, in points; both start at
    // 1. 1 when no category lies at or above the node.
    int32_t GetDocSize(const WizNode* node, double* width, double* height);

    // Template entries of a backdrop node, numbered from 1.
    int32_t GetEntryCount(const WizNode* backdrop, int32_t* count) const;
    int32_t GetEntry(const WizNode* backdrop, int32_t n, WizTemplateEntry* entry) const;
    // n in 1..count replaces that entry; any other n appends, and n
    // receives the new number.
    int32_t SetEntry(WizNode* backdrop, int32_t* n, const WizTemplateEntry& entry);
    // n = 0 removes all.
    int32_t RemoveEntry(WizNode* backdrop, int32_t n);
    int32_t MoveEntry(WizNode* backdrop, int32_t from, int32_t to);

    // The walk counter ends at the number of entries removed or nodes
    // deleted.
    int32_t RemoveTemplateRefs(uint32_t templateId);
    int32_t DeleteBackdropNodes(uint32_t groupId);
    // Appends the entry to every backdrop node of the set-up's backdrop
    // group whose nearest category has the set-up's label layout.
    int32_t AddTemplateToBackdrops(const DocSetup& setup, const WizTemplateEntry& entry);
    // The last category or sub-category in pre-order whose label layout is
    // the set-up's; null when none.
    int32_t FindCategory(const DocSetup& setup, WizNode** node);
    // The label layouts offered as document sizes, one after the other.
    int32_t CollectLabelTypes(Handle layouts, int32_t* count);
    // 1 when a backdrop node lies within the levels the node's kind
    // looks down, else 0.
    int32_t HasBackdrops(WizNode* node);

    // Integrity checks reporting into a fault list.
    int32_t CheckWizardTree(WizardFaultList* list);
    int32_t CheckBackdropRefs(WizardFaultList* list);
    void CountTreeReferences(int32_t mode, WizardFaultList* list);

protected:
    // A category's design file goes with it.
    int32_t OnDeleteNode(uint32_t kind, Handle payload) override;

private:
    WizNode* AddLayoutNode(uint32_t kind, WizNode* parent, const uint8_t* labelType, const char* designPath);
    int32_t AttachDesign(Handle payload, const char* designPath);
    int32_t BackdropPayload(const WizNode* node, Handle* payload) const;
};
