// The links of the wizard tree: making, linking, moving and deleting nodes.
#include "catalog/wiz_tree_node.h"

#include <new>

CWizTreeNode::~CWizTreeNode()
{
    FreeAllNodes();
    if (file_ != kNoFile)
        FileClose(file_);
}

bool CWizTreeNode::InSubtree(const WizNode* node, const WizNode* inside)
{
    for (const WizNode* n = inside; n; n = n->parent) {
        if (n == node)
            return true;
    }
    return false;
}

WizNode* CWizTreeNode::NextPreOrder(const WizNode* n, const WizNode* top)
{
    if (n->firstChild)
        return n->firstChild;
    while (n && n != top) {
        if (n->next)
            return n->next;
        n = n->parent;
    }
    return nullptr;
}

bool CWizTreeNode::OwnsNode(const WizNode* node) const { return node == &root_ || nodes_.count(node) != 0; }

WizNode* CWizTreeNode::AllocNode(uint32_t kind)
{
    WizNode* node = new (std::nothrow) WizNode;
    if (!node)
        return nullptr;
    try {
        nodes_.insert(node);
    } catch (const std::bad_alloc&) {
        delete node;
        return nullptr;
    }
    node->kind = kind;
    return node;
}

WizNode* CWizTreeNode::NewNode(uint32_t kind, WizNode* parent, Handle payload)
{
    if (!parent)
        parent = &root_;
    WizNode* node = AllocNode(kind);
    if (!node)
        return nullptr;
    node->payload = payload;
    InsertNode(node, parent, kWizIntoLast);
    return node;
}

int32_t CWizTreeNode::InsertNode(WizNode* node, WizNode* target, int32_t mode)
{
    if (!node || !target || node == &root_ || node->parent || node->prev)
        return 1;
    if (mode != kWizIntoLast && mode != kWizAfter && mode != kWizBefore)
        return 1;
    if (mode != kWizIntoLast && !target->parent)
        return 1;
    WizNode* last = node;
    for (WizNode* n = node; n; n = n->next) {
        if (InSubtree(n, target))
            return 1;
        last = n;
    }

    WizNode* parent = mode == kWizIntoLast ? target : target->parent;
    for (WizNode* n = node; n; n = n->next)
        n->parent = parent;
    WizNode* before = nullptr;  // the sibling the chain follows
    WizNode* after = nullptr;   // the sibling that follows the chain
    if (mode == kWizIntoLast) {
        for (WizNode* c = target->firstChild; c; c = c->next)
            before = c;
    } else if (mode == kWizAfter) {
        before = target;
        after = target->next;
    } else {
        before = target->prev;
        after = target;
    }
    node->prev = before;
    last->next = after;
    if (before)
        before->next = node;
    else
        parent->firstChild = node;
    if (after)
        after->prev = last;
    return 0;
}

int32_t CWizTreeNode::Unlink(WizNode* node, int32_t mode)
{
    if (!node || node == &root_ || !node->parent)
        return 1;
    if (node->firstChild && mode != kWizUnlinkSubtree && mode != kWizUnlinkChain)
        return 1;
    WizNode* parent = node->parent;
    if (mode == kWizUnlinkChain) {
        if (node->prev)
            node->prev->next = nullptr;
        else
            parent->firstChild = nullptr;
        for (WizNode* n = node; n; n = n->next)
            n->parent = nullptr;
        node->prev = nullptr;
        return 0;
    }
    if (node->prev)
        node->prev->next = node->next;
    else
        parent->firstChild = node->next;
    if (node->next)
        node->next->prev = node->prev;
    node->parent = node->prev = node->next = nullptr;
    return 0;
}

int32_t CWizTreeNode::MoveNode(WizNode* node, WizNode* target, int32_t mode)
{
    if (!CanMove(node, target, mode))
        return 1;
    // Checked before anything is detached, so a refused insertion cannot
    // leave the node outside the tree.
    if (node == &root_ || !node->parent || (mode != kWizIntoLast && mode != kWizAfter && mode != kWizBefore) ||
        (mode != kWizIntoLast && !target->parent) || !OwnsNode(node) || !OwnsNode(target))
        return 1;
    Unlink(node, kWizUnlinkSubtree);
    return InsertNode(node, target, mode);
}

bool CWizTreeNode::CanMove(const WizNode* node, const WizNode* target, int32_t /*mode*/)
{
    return node && target && node != target && !InSubtree(node, target);
}

void CWizTreeNode::DeleteSubtree(WizNode* top, bool notify)
{
    // Children before their parents, without recursion: a tree read from a
    // file may be as deep as the file is long.
    WizNode* n = top;
    for (;;) {
        while (n->firstChild)
            n = n->firstChild;
        WizNode* parent = n->parent;
        const bool done = n == top;
        if (n == &root_) {
            // The root record belongs to the tree: emptied, never freed.
            if (root_.payload && ReleasePayload(root_.kind, root_.payload) == 0)
                HandleFree(root_.payload);
            root_ = WizNode();
            return;
        }
        Unlink(n, kWizUnlinkLeaf);
        if (notify)
            OnDeleteNode(n->kind, n->payload);
        if (ReleasePayload(n->kind, n->payload) == 0)
            HandleFree(n->payload);
        nodes_.erase(n);
        if (cursor_ == n)
            cursor_ = nullptr;
        delete n;
        if (done)
            return;
        n = parent;
    }
}

void CWizTreeNode::DeleteNode(WizNode* node)
{
    if (!node || !OwnsNode(node))
        return;
    DeleteSubtree(node, true);
}

void CWizTreeNode::FreeAllNodes() { DeleteSubtree(&root_, false); }

int32_t CWizTreeNode::GetPayload(const WizNode* node, Handle* payload) const
{
    if (!node) {
        if (payload)
            *payload = nullptr;
        return 1;
    }
    if (payload)
        *payload = node->payload;
    return CheckPayload(node->kind, node->payload);
}

WizNode* CWizTreeNode::FindDescendant(WizNode* node, uint32_t kind, int32_t depth)
{
    if (!node || depth <= 0)
        return nullptr;
    struct Step {
        WizNode* node;
        int32_t depth;
    };
    std::vector<Step> pending{{node, depth}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        for (WizNode* c = step.node->firstChild; c; c = c->next) {
            if (c->kind == kind)
                return c;
        }
        if (step.depth <= 1)
            continue;
        // Pushed last to first, so the first child's levels are searched
        // before its next sibling's.
        std::vector<WizNode*> children;
        for (WizNode* c = step.node->firstChild; c; c = c->next)
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back({*it, step.depth - 1});
    }
    return nullptr;
}

int32_t CWizTreeNode::CheckPayload(uint32_t, Handle) const { return 0; }
int32_t CWizTreeNode::OnCreateFile() { return 0; }
int32_t CWizTreeNode::ReleasePayload(uint32_t, Handle) { return 0; }
int32_t CWizTreeNode::OnDeleteNode(uint32_t, Handle) { return 0; }

int32_t CWizTreeNode::WritePayload(uint32_t, Handle payload, std::vector<uint8_t>* bytes) const
{
    const uint32_t n = HandleGetSize(payload);
    if (n)
        bytes->insert(bytes->end(), HandleData(payload), HandleData(payload) + n);
    return 0;
}

int32_t CWizTreeNode::ReadPayload(uint32_t kind, const uint8_t* bytes, uint32_t length, Handle* payload)
{
    *payload = nullptr;
    if (kind < 1 || length < 1)
        return 0;
    Handle h = nullptr;
    if (HandleFromBytes(bytes, &h, length) != 0 || !h)
        return 1;
    *payload = h;
    return 0;
}
