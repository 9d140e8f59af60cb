// Reading the wizard tree's file.
#include <cstring>
#include <vector>

#include "catalog/wiz_tree_node.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

int32_t CWizTreeNode::LoadImage(const uint8_t* bytes, size_t size)
{
    if (size < kWizTreeHeaderSize)
        return kErrHandleEof;
    std::memcpy(header_, bytes, kWizTreeHeaderSize);
    FreeAllNodes();
    walkDepth_ = walkCounter_ = 0;
    if (size - kWizTreeHeaderSize < kWizBlockSize)
        return 0;

    // The blocks are visited in the order they were written: a node, its
    // first child's subtree, then its next sibling. Each must start where
    // the one before ended or later, which rules out loops and overlaps
    // and bounds the node count by the file's length.
    struct Pending {
        size_t position;
        WizNode* parent;  // null for the root
        WizNode* prev;    // the sibling whose next link led here
    };
    std::vector<Pending> pending{{kWizTreeHeaderSize, nullptr, nullptr}};
    size_t end = kWizTreeHeaderSize;
    while (!pending.empty()) {
        const Pending p = pending.back();
        pending.pop_back();
        if (p.position < end || p.position > size || size - p.position < kWizBlockSize)
            return kWizWrongCode;
        const uint8_t* block = bytes + p.position;
        const uint32_t firstChild = GetU32LE(block + kWizBlockFirstChildAt);
        const uint32_t next = GetU32LE(block + kWizBlockNextAt);
        const uint32_t kind = GetU32LE(block + kWizBlockKindAt);
        const uint32_t length = GetU32LE(block + kWizBlockLengthAt);
        if (length > size - p.position - kWizBlockSize)
            return kWizWrongCode;
        end = p.position + kWizBlockSize + length;

        WizNode* node = &root_;
        if (p.parent) {
            // Linked here directly: each node is its parent's last child so
            // far, and a file of many nodes loads in time linear in them.
            node = AllocNode(kind);
            if (!node)
                return kWizMissing;
            node->parent = p.parent;
            node->prev = p.prev;
            if (p.prev)
                p.prev->next = node;
            else
                p.parent->firstChild = node;
            if (int32_t err = ReadPayload(kind, block + kWizBlockSize, length, &node->payload))
                return err;
            ++walkCounter_;
            if (next)
                pending.push_back({next, p.parent, node});
        }
        // The root's own kind and payload are not the file's to choose:
        // it stays kind 0 without a payload.
        if (firstChild)
            pending.push_back({firstChild, node, nullptr});
    }
    return 0;
}

int32_t CWizTreeNode::Load()
{
    if (OpenFile(kFileRead) != 0)
        return 1;
    std::vector<uint8_t> bytes;
    int32_t err = WizReadOpenFile(file_, &bytes, kMaxTreeFileSize);
    if (err == kErrNone)
        err = LoadImage(bytes.data(), bytes.size());
    CloseFile();
    loadFailed_ = err != kErrNone;
    return err;
}
