// CCategoryTreeCtrl: a tree view of one node's subtree of the wizard
// catalogue, showing only the node kinds it accepts. It can put one entry
// of its own first ("Custom Document", "No Filter" or "No Backdrop"; the
// node behind it belongs to the control, not to the catalogue) and mark
// the entries on the way to a backdrop. Items can be dragged onto others,
// which moves the nodes in the catalogue itself.
#pragma once

#include <cstdint>
#include <vector>

#include <QIcon>
#include <QTreeWidget>

#include "catalog/wiz_tree.h"

// Options.
enum : uint32_t {
    kTreeMarkUsable = 1,
    kTreeSyntheticEntry = 2,
};

// Synthetic kinds and the node kinds they make.
enum : uint32_t {
    kSyntheticCustomDocument = 1,
    kSyntheticCustomSubCategory = 2,
    kSyntheticNoFilter = 3,
    kSyntheticNoBackdrop = 4,
};

// Image indexes.
enum : int32_t {
    kTreeImageUsable = 5,
};

class CCategoryTreeCtrl : public QTreeWidget {
public:
    static constexpr int32_t kMaxKinds = 8;

    explicit CCategoryTreeCtrl(QWidget* parent = nullptr);
    ~CCategoryTreeCtrl() override;
    CCategoryTreeCtrl(const CCategoryTreeCtrl&) = delete;
    CCategoryTreeCtrl& operator=(const CCategoryTreeCtrl&) = delete;

    // Keeps the tree and loads the item pictures; 0 when all of them loaded.
    int32_t Fill(CWizTree* tree);
    bool Filled() const { return filled_; }
    void ClearKinds() { kindCount_ = 0; }
    // A ninth kind is ignored.
    void AddKind(uint32_t kind);
    bool IsKindAccepted(uint32_t kind) const;
    void SetOptions(uint32_t bits) { options_ = bits; }
    void SetSyntheticKind(uint32_t kind) { syntheticKind_ = kind; }

    // Shows the node's subtree in place of what was shown; 0 when every
    // item went in, 1 for a null node or a failed insertion.
    int32_t SetRoot(WizNode* node);
    WizNode* RootNode() const { return root_; }

    // The item's node; the root node for no item.
    WizNode* GetNodeOfItem(const QTreeWidgetItem* item) const;
    WizNode* GetSelectedNode() const;
    QTreeWidgetItem* SelectedItem() const;
    // The item or its nearest ancestor whose node is of one of the kinds.
    QTreeWidgetItem* FindAncestorOfKind(QTreeWidgetItem* item, int32_t count, const uint32_t* kinds) const;
    // The item or the first item of its subtree, depth first.
    QTreeWidgetItem* FindDescendantOfKind(QTreeWidgetItem* item, int32_t count, const uint32_t* kinds) const;
    // The first item, depth first over the whole control, whose node is
    // this one.
    QTreeWidgetItem* FindItemOfNode(const WizNode* node) const;
    // 0 when the selected item went (its node stays in the catalogue).
    int32_t DeleteSelected();
    // The image the item shows (-1 for none).
    int32_t ItemImage(const QTreeWidgetItem* item) const;

    static QIcon LoadIcon20(int32_t resourceId);

    // A drop of one item on another: 1 "into", 2 "after", 3 "before". True
    // when the node moved, and with it the item and its subtree.
    bool CanDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, int32_t mode) const;
    bool DropItem(QTreeWidgetItem* dragged, QTreeWidgetItem* target, int32_t mode);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FreeSynthetic();
    WizNode* MakeSynthetic() const;
    bool InsertChildren(WizNode* parent, QTreeWidgetItem* parentItem);
    QTreeWidgetItem* AddItem(WizNode* node, QTreeWidgetItem* parentItem);
    void SetItemImage(QTreeWidgetItem* item, int32_t image);
    void MarkUsable(QTreeWidgetItem* item);
    void EndDrag();

    CWizTree* tree_ = nullptr;
    bool filled_ = false;
    WizNode* root_ = nullptr;
    uint32_t kinds_[kMaxKinds] = {};
    int32_t kindCount_ = 0;
    std::vector<QIcon> images_;
    uint32_t options_ = 0;
    uint32_t syntheticKind_ = 0;
    bool hasItems_ = false;
    std::vector<WizNode*> synthetic_;
    bool dragging_ = false;
    QTreeWidgetItem* dragItem_ = nullptr;
    QPoint pressPoint_;
};
