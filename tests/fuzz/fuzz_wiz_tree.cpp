// Reads arbitrary bytes as a wizard tree file. A file that loads must save
// again as a well-formed file that loads into the same tree and saves to
// the same bytes; the typed operations must stay within every payload.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "catalog/wiz_tree.h"

namespace {

void Exercise(CWizTree* tree)
{
    for (WizNode* n = tree->Root(); n; n = CWizTreeNode::NextPreOrder(n, tree->Root())) {
        char name[64];
        tree->GetName(n, name, sizeof name);
        int32_t count = 0;
        if (tree->GetEntryCount(n, &count) == 0 && count > 0) {
            WizTemplateEntry entry;
            tree->GetEntry(n, count, &entry);
            tree->MoveEntry(n, 1, count);
        }
        double w, h;
        tree->GetDocSize(n, &w, &h);
        tree->HasBackdrops(n);
    }
    HandleOwner layouts(HandleNew(0));
    int32_t count = 0;
    tree->CollectLabelTypes(layouts.get(), &count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CWizTree tree;
    if (tree.LoadImage(data, size) != 0)
        return 0;
    // The size walks climb to the nearest category from every node; kept
    // to trees of a catalogue's size.
    if (tree.CountNodes() < 2000)
        Exercise(&tree);
    std::vector<uint8_t> saved;
    if (tree.SaveImage(&saved) != 0)
        abort();
    CWizTree again;
    if (again.LoadImage(saved.data(), saved.size()) != 0)
        abort();
    std::vector<uint8_t> twice;
    if (again.SaveImage(&twice) != 0 || twice != saved || again.CountNodes() != tree.CountNodes())
        abort();
    return 0;
}
