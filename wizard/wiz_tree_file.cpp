// The wizard tree's file: preparing, opening, loading and saving it.
#include <cstring>
#include <unordered_map>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"
#include "wizard/wiz_tree_node.h"
#include "wizard/wizard_file_io.h"
#include "wizard/wizard_messages.h"
#include "wizard/wizard_results.h"

namespace {

// A catalogue of many thousand nodes stays far below this.
constexpr uint32_t kMaxTreeFileSize = 64u << 20;

void PutHeader(uint8_t* header, uint32_t count)
{
    std::memset(header, 0, kWizTreeHeaderSize);
    PutU32LE(header + kWizTreeCodeAt, kWizTreeCode);
    PutU32LE(header + kWizTreeVersionAt, kWizTreeVersion);
    PutU32LE(header + kWizTreeCountAt, count);
}

}  // namespace

int32_t CWizTreeNode::SetFilePath(const PathRecord* path)
{
    path_ = *path;
    pathSet_ = true;
    return FileExists(&path_, 0) ? 0 : 1;
}

int32_t CWizTreeNode::CreateEmptyFile()
{
    PutHeader(header_, 0);
    int32_t err = WizWriteFile(path_, {WizBytes{header_, kWizTreeHeaderSize}});
    if (err == kErrNone)
        err = OnCreateFile();
    if (err != kErrNone)
        AlertStopById(kWizMessageBase, kWizMsgCreationError, 0);
    return err;
}

int32_t CWizTreeNode::PrepareFile()
{
    if (!pathSet_)
        return 1;
    if (!FileExists(&path_, 0))
        return CreateEmptyFile();
    std::vector<uint8_t> bytes;
    int32_t err = WizReadFile(path_, &bytes, kMaxTreeFileSize);
    if (err != kErrNone && err != kWizWrongCode)
        return err;
    const bool known = err == kErrNone && bytes.size() >= kWizTreeHeaderSize &&
                       GetU32LE(bytes.data() + kWizTreeCodeAt) == kWizTreeCode &&
                       GetU32LE(bytes.data() + kWizTreeVersionAt) == kWizTreeVersion;
    if (!known) {
        if (AlertConfirmById(kWizMessageBase, kWizMsgTreeOldVersion, 0) != 1)
            return 1;
        return CreateEmptyFile();
    }
    // Every block must read before the tree is offered to the wizard: a
    // damaged file would otherwise keep every later opening from working
    // without a word.
    CWizTreeNode scratch;
    if (scratch.LoadImage(bytes.data(), bytes.size()) == kWizWrongCode) {
        if (AlertConfirmById(kWizMessageBase, kWizMsgTreeDamaged, 0) != 1)
            return 1;
        return CreateEmptyFile();
    }
    std::memcpy(header_, bytes.data(), kWizTreeHeaderSize);
    return 0;
}

int32_t CWizTreeNode::OpenFile(int16_t mode)
{
    if (!pathSet_)
        return 1;
    if (openCount_ == 0 || file_ == kNoFile) {
        int16_t m = mode == kFileRead ? kFileRead : kFileReadWrite;
        FileHandle f = kNoFile;
        int32_t err = FileOpen(&path_, m, &f);
        if (err != kErrNone && m == kFileReadWrite) {
            m = kFileRead;
            err = FileOpen(&path_, m, &f);
        }
        if (openCount_ == 0)
            mode_ = m;
        if (err != kErrNone)
            return err;
        file_ = f;
    }
    ++openCount_;
    return 0;
}

void CWizTreeNode::CloseFile()
{
    if (openCount_ > 0)
        --openCount_;
    if (openCount_ == 0 && file_ != kNoFile) {
        FileClose(file_);
        file_ = kNoFile;
    }
}

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
        PutHeader(bytes->data(), uint32_t(order.size()));
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
