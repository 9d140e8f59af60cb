// Writing the wizard tree's file.
#include <cstring>
#include <unordered_map>
#include <vector>

#include "catalog/wiz_tree_node.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

int32_t CWizTreeNode::SaveImage(std::vector<uint8_t>* bytes) const
{
    bytes->clear();
    try {
        bytes->resize(kWizTreeHeaderSize);
        std::vector<const WizNode*> order;
        std::unordered_map<const WizNode*, uint32_t> position;
        for (const WizNode* n = &root_; n; n = NextPreOrder(n, &root_)) {
            if (bytes->size() > UINT32_MAX - kWizBlockSize)
                return kErrFileTooLarge;
            const uint32_t at = uint32_t(bytes->size());
            order.push_back(n);
            position[n] = at;
            bytes->resize(bytes->size() + kWizBlockSize);
            if (n != &root_) {
                if (int32_t err = WritePayload(n->kind, n->payload, bytes))
                    return err;
            }
            if (bytes->size() > UINT32_MAX)
                return kErrFileTooLarge;
            uint8_t* block = bytes->data() + at;
            PutU32LE(block + kWizBlockKindAt, n == &root_ ? kWizKindRoot : n->kind);
            PutU32LE(block + kWizBlockLengthAt, uint32_t(bytes->size() - at - kWizBlockSize));
        }
        auto at = [&](const WizNode* n) { return n ? position.at(n) : 0u; };
        for (const WizNode* n : order) {
            uint8_t* block = bytes->data() + position.at(n);
            PutU32LE(block + kWizBlockParentAt, at(n->parent));
            PutU32LE(block + kWizBlockFirstChildAt, at(n->firstChild));
            PutU32LE(block + kWizBlockNextAt, at(n->next));
            PutU32LE(block + kWizBlockPrevAt, at(n->prev));
        }
        WizTreePutHeader(bytes->data(), uint32_t(order.size()));
    } catch (const std::bad_alloc&) {
        bytes->clear();
        return kErrNotEnoughMemory;
    }
    return 0;
}

int32_t CWizTreeNode::Save()
{
    if (OpenFile(kFileReadWrite) != 0)
        return 1;
    if (mode_ == kFileRead) {
        CloseFile();
        return 0;
    }
    // What a failed load left in memory is only part of the file: writing
    // it would lose the rest.
    if (loadFailed_) {
        CloseFile();
        return kWizWrongCode;
    }
    std::vector<uint8_t> bytes;
    int32_t err = SaveImage(&bytes);
    if (err == kErrNone) {
        // The new content replaces the file in one step, which the file
        // layer refuses while the file is open: it is opened again after.
        FileClose(file_);
        file_ = kNoFile;
        err = WizWriteFile(path_, bytes);
        FileHandle f = kNoFile;
        if (FileOpen(&path_, mode_, &f) == kErrNone)
            file_ = f;
        if (err == kErrNone)
            std::memcpy(header_, bytes.data(), kWizTreeHeaderSize);
    }
    CloseFile();
    return err;
}
