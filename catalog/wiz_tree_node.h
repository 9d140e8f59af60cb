// A general tree of typed nodes that stores itself in a file.
//
// Every node is a link record owning an optional payload Handle; what a
// payload means is left to the virtual operations, which the wizard tree
// (catalog/wiz_tree.h) overrides. The tree is saved whole, depth first,
// with file positions as links (catalog/wiz_tree_format.h), and loaded by
// rebuilding the links from the first-child and next-sibling positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "catalog/wiz_tree_format.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"

struct WizNode {
    WizNode* parent = nullptr;
    WizNode* firstChild = nullptr;
    WizNode* next = nullptr;
    WizNode* prev = nullptr;
    uint32_t kind = 0;
    Handle payload = nullptr;
};

// Modes of InsertNode, MoveNode and CanMove.
enum : int32_t {
    kWizIntoLast = 1,
    kWizAfter = 2,
    kWizBefore = 3,
};

// Modes of Unlink.
enum : int32_t {
    kWizUnlinkLeaf = 0,
    kWizUnlinkSubtree = 1,
    kWizUnlinkChain = 2,
};

class CWizTreeNode {
public:
    CWizTreeNode() = default;
    virtual ~CWizTreeNode();
    CWizTreeNode(const CWizTreeNode&) = delete;
    CWizTreeNode& operator=(const CWizTreeNode&) = delete;

    // --- The tree file -----------------------------------------------------

    // 1 when no file of that name exists, else 0.
    int32_t SetFilePath(const PathRecord* path);
    const PathRecord& FilePath() const { return path_; }
    // Makes sure a valid tree file exists at the path, asking before a file
    // of another code or version, or a damaged one, is replaced by an empty
    // tree. 0, 1 (no path, or the user kept the file), or the file error.
    int32_t PrepareFile();
    // Reference-counted. Mode 0 reads; any other mode reads and writes,
    // falling back to reading alone (the mode is then 0). 1 without a path.
    int32_t OpenFile(int16_t mode);
    void CloseFile();
    int16_t OpenMode() const { return mode_; }
    int32_t OpenCount() const { return openCount_; }
    // Replaces the nodes in memory by the file's. A damaged file gives
    // kWizWrongCode and keeps what was read before the damage; such a tree
    // is never saved over the file.
    int32_t Load();
    // Writes the whole tree when the file is open for writing; writes
    // nothing and answers 0 when it could only be opened for reading.
    int32_t Save();

    // The file's content without the file, for Load and Save and for
    // checks of untrusted bytes.
    int32_t LoadImage(const uint8_t* bytes, size_t size);
    int32_t SaveImage(std::vector<uint8_t>* bytes) const;

    // --- Nodes -----------------------------------------------------------

    WizNode* Root() { return &root_; }
    const WizNode* Root() const { return &root_; }
    // A node appended as the parent's last child (the root for null),
    // taking over the payload. Null without memory.
    WizNode* NewNode(uint32_t kind, WizNode* parent, Handle payload);
    // Links a detached node, or a detached chain of siblings headed by it,
    // as target's last children, right after target, or right before it.
    // 1 when either is missing, the node is linked, target lies inside the
    // chain's subtrees, or target is the root and the mode is not 1.
    int32_t InsertNode(WizNode* node, WizNode* target, int32_t mode);
    // Detaches a node (mode 0 only when it has no children, mode 1 with its
    // subtree) or the node and all its later siblings (mode 2).
    int32_t Unlink(WizNode* node, int32_t mode);
    // 1 when CanMove refuses, else moves the node with its subtree.
    int32_t MoveNode(WizNode* node, WizNode* target, int32_t mode);
    // Deletes the node and its subtree, children first, each with the
    // delete notification. The root is emptied, never freed.
    void DeleteNode(WizNode* node);
    // Frees every node below the root without the delete notification.
    void FreeAllNodes();
    // CheckPayload's answer; the payload stays the node's.
    int32_t GetPayload(const WizNode* node, Handle* payload) const;
    // The first node of the kind within depth levels below node, siblings
    // searched before their children.
    WizNode* FindDescendant(WizNode* node, uint32_t kind, int32_t depth);

    // True when inside is node or lies in node's subtree.
    static bool InSubtree(const WizNode* node, const WizNode* inside);
    // The node after n in pre-order within top's subtree, or null.
    static WizNode* NextPreOrder(const WizNode* n, const WizNode* top);
    // Whether the record is one of this tree's nodes (the root included).
    bool OwnsNode(const WizNode* node) const;
    // Root included.
    int32_t CountNodes() const { return int32_t(nodes_.size()) + 1; }

    int32_t WalkCounter() const { return walkCounter_; }

    // Base behaviour: both given, different, and target not inside node.
    virtual bool CanMove(const WizNode* node, const WizNode* target, int32_t mode);
    virtual int32_t CheckPayload(uint32_t kind, Handle payload) const;

protected:
    virtual int32_t OnCreateFile();
    // Appends the payload's bytes; 0 or a memory error.
    virtual int32_t WritePayload(uint32_t kind, Handle payload, std::vector<uint8_t>* bytes) const;
    // A Handle of the bytes for kind 1 or more and length 1 or more, else
    // none; 1 without memory.
    virtual int32_t ReadPayload(uint32_t kind, const uint8_t* bytes, uint32_t length, Handle* payload);
    // 0 lets the tree free the payload.
    virtual int32_t ReleasePayload(uint32_t kind, Handle payload);
    virtual int32_t OnDeleteNode(uint32_t kind, Handle payload);

    int32_t walkDepth_ = 0;
    int32_t walkCounter_ = 0;
    WizNode* cursor_ = nullptr;

private:
    // A detached, registered node without payload; null without memory.
    WizNode* AllocNode(uint32_t kind);
    void DeleteSubtree(WizNode* node, bool notify);
    int32_t CreateEmptyFile();

    FileHandle file_ = kNoFile;
    int16_t mode_ = 0;
    int32_t openCount_ = 0;
    PathRecord path_{};
    bool pathSet_ = false;
    uint8_t header_[kWizTreeHeaderSize] = {};
    WizNode root_;
    std::unordered_set<const WizNode*> nodes_;
    bool loadFailed_ = false;
};
