// The wizard tree's file: its path, preparing it at start-up, and the
// counted opening the wizard and the set-up sheet share.
#include <cstring>

#include "catalog/wiz_tree_node.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_messages.h"
#include "catalog/wizard_results.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

int32_t CWizTreeNode::SetFilePath(const PathRecord* path)
{
    path_ = *path;
    pathSet_ = true;
    return FileExists(&path_, 0) ? 0 : 1;
}

int32_t CWizTreeNode::CreateEmptyFile()
{
    WizTreePutHeader(header_, 0);
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
