#include "wizard/category_tree_ctrl.h"

#include <cstring>
#include <memory>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>

#include "graphics/dib_draw.h"
#include "platform/dc.h"
#include "platform/gdi_types.h"
#include "resources/artwork_resources.h"

namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

const int32_t kImageResources[] = {591, 26063, 26064, 26065, 26066, 26067};

// A picture of the program's resources as an icon of that size; white
// stands for transparent.
QIcon ResourceIcon(int32_t id, int32_t side)
{
    DibHandleOwner dib;
    if (!dib || DibHandleFromResource(id, dib.get()) != 0 || DibHandleIsEmpty(dib.get()))
        return QIcon();
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&image);
        DibHandleDraw(dc.get(), dib.get(), IntRect{0, 0, side, side}, SRCCOPY);
    }
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y)
        for (int x = 0; x < masked.width(); ++x)
            if ((masked.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                masked.setPixel(x, y, 0);
    return QIcon(QPixmap::fromImage(masked));
}

int32_t ImageOfKind(uint32_t kind)
{
    switch (kind) {
    case kWizKindCategory:
    case kWizKindCustomCategory:
        return 0;
    case kWizKindSubCategory:
    case kWizKindCustomSubCategory:
        return 1;
    case kWizKindFilter:
    case kWizKindNoFilter:
        return 2;
    case kWizKindBackdrop:
    case kWizKindNoBackdrop:
        return 3;
    case kWizKindSynthetic5:
        return 4;
    default:
        return -1;
    }
}

}  // namespace

CCategoryTreeCtrl::CCategoryTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(16, 16));
}

CCategoryTreeCtrl::~CCategoryTreeCtrl()
{
    FreeSynthetic();
}

int32_t CCategoryTreeCtrl::Fill(CWizTree* tree)
{
    tree_ = tree;
    images_.clear();
    bool all = true;
    for (int32_t id : kImageResources) {
        images_.push_back(ResourceIcon(id, 16));
        all = all && !images_.back().isNull();
    }
    filled_ = all;
    return all ? 0 : 1;
}

void CCategoryTreeCtrl::AddKind(uint32_t kind)
{
    if (kindCount_ < kMaxKinds)
        kinds_[kindCount_++] = kind;
}

bool CCategoryTreeCtrl::IsKindAccepted(uint32_t kind) const
{
    for (int32_t i = 0; i < kindCount_; ++i)
        if (kinds_[i] == kind)
            return true;
    return false;
}

void CCategoryTreeCtrl::FreeSynthetic()
{
    if (hasItems_) {
        for (WizNode* node : synthetic_) {
            HandleFree(node->payload);
            delete node;
        }
    }
    synthetic_.clear();
}

WizNode* CCategoryTreeCtrl::MakeSynthetic() const
{
    uint32_t kind = 0;
    size_t size = 0;
    size_t nameAt = 0;
    const char* name = nullptr;
    switch (syntheticKind_) {
    case kSyntheticCustomDocument:
    case kSyntheticCustomSubCategory:
        kind = syntheticKind_ == kSyntheticCustomDocument ? kWizKindCustomCategory : kWizKindCustomSubCategory;
        size = kWizCategorySize;
        nameAt = kWizCategoryLayoutAt + kWizLayoutNameAt;
        name = "Custom Document";
        break;
    case kSyntheticNoFilter:
        kind = kWizKindNoFilter;
        size = kWizFilterSize;
        name = "No Filter";
        break;
    case kSyntheticNoBackdrop:
        kind = kWizKindNoBackdrop;
        size = kWizBackdropMinSize;
        name = "No Backdrop";
        break;
    default:
        return nullptr;
    }
    Handle payload = HandleNew(uint32_t(size));
    if (!payload)
        return nullptr;
    std::memcpy(HandleData<uint8_t>(payload) + nameAt, name, std::strlen(name));
    WizNode* node = new WizNode;
    node->kind = kind;
    node->payload = payload;
    return node;
}

int32_t CCategoryTreeCtrl::SetRoot(WizNode* node)
{
    FreeSynthetic();
    clear();
    hasItems_ = false;
    root_ = node;
    if (!node)
        return 1;
    bool ok = true;
    if ((options_ & kTreeSyntheticEntry) && syntheticKind_ != 0) {
        WizNode* synthetic = MakeSynthetic();
        if (synthetic) {
            synthetic_.push_back(synthetic);
            ok = AddItem(synthetic, nullptr) != nullptr;
        } else {
            ok = false;
        }
    }
    ok = InsertChildren(node, nullptr) && ok;
    if (options_ & kTreeMarkUsable) {
        for (int i = 0; i < topLevelItemCount(); ++i)
            MarkUsable(topLevelItem(i));
    }
    return ok ? 0 : 1;
}

QTreeWidgetItem* CCategoryTreeCtrl::AddItem(WizNode* node, QTreeWidgetItem* parentItem)
{
    char name[256] = {};
    if (tree_)
        tree_->GetName(node, name, sizeof name);
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromLatin1(name));
    item->setData(0, kNodeRole, QVariant::fromValue(quintptr(node)));
    SetItemImage(item, ImageOfKind(node->kind));
    if (parentItem)
        parentItem->addChild(item);
    else
        addTopLevelItem(item);
    hasItems_ = true;
    return item;
}

bool CCategoryTreeCtrl::InsertChildren(WizNode* parent, QTreeWidgetItem* parentItem)
{
    bool ok = true;
    for (WizNode* child = parent->firstChild; child; child = child->next) {
        if (!IsKindAccepted(child->kind))
            continue;
        QTreeWidgetItem* item = AddItem(child, parentItem);
        ok = InsertChildren(child, item) && ok;
    }
    return ok;
}

void CCategoryTreeCtrl::SetItemImage(QTreeWidgetItem* item, int32_t image)
{
    item->setData(0, kImageRole, image);
    if (image >= 0 && size_t(image) < images_.size())
        item->setIcon(0, images_[size_t(image)]);
}

int32_t CCategoryTreeCtrl::ItemImage(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, kImageRole).toInt() : -1;
}

void CCategoryTreeCtrl::MarkUsable(QTreeWidgetItem* item)
{
    WizNode* node = GetNodeOfItem(item);
    const bool synthetic = node && node->kind > 100;
    if (node && (synthetic || (tree_ && tree_->HasBackdrops(node))))
        SetItemImage(item, kTreeImageUsable);
    if (synthetic)
        return;
    for (int i = 0; i < item->childCount(); ++i)
        MarkUsable(item->child(i));
}

WizNode* CCategoryTreeCtrl::GetNodeOfItem(const QTreeWidgetItem* item) const
{
    if (!item)
        return root_;
    return reinterpret_cast<WizNode*>(item->data(0, kNodeRole).value<quintptr>());
}

QTreeWidgetItem* CCategoryTreeCtrl::SelectedItem() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? nullptr : items.front();
}

WizNode* CCategoryTreeCtrl::GetSelectedNode() const
{
    QTreeWidgetItem* item = SelectedItem();
    return item ? GetNodeOfItem(item) : nullptr;
}

QTreeWidgetItem* CCategoryTreeCtrl::FindAncestorOfKind(QTreeWidgetItem* item, int32_t count,
                                                       const uint32_t* kinds) const
{
    for (; item; item = item->parent()) {
        const WizNode* node = GetNodeOfItem(item);
        for (int32_t i = 0; node && i < count; ++i)
            if (node->kind == kinds[i])
                return item;
    }
    return nullptr;
}

QTreeWidgetItem* CCategoryTreeCtrl::FindDescendantOfKind(QTreeWidgetItem* item, int32_t count,
                                                         const uint32_t* kinds) const
{
    if (!item)
        return nullptr;
    const WizNode* node = GetNodeOfItem(item);
    for (int32_t i = 0; node && i < count; ++i)
        if (node->kind == kinds[i])
            return item;
    for (int i = 0; i < item->childCount(); ++i)
        if (QTreeWidgetItem* found = FindDescendantOfKind(item->child(i), count, kinds))
            return found;
    return nullptr;
}

QTreeWidgetItem* CCategoryTreeCtrl::FindItemOfNode(const WizNode* node) const
{
    for (QTreeWidgetItemIterator it(const_cast<CCategoryTreeCtrl*>(this)); *it; ++it)
        if (GetNodeOfItem(*it) == node)
            return *it;
    return nullptr;
}

int32_t CCategoryTreeCtrl::DeleteSelected()
{
    QTreeWidgetItem* item = SelectedItem();
    if (!item)
        return 1;
    delete item;
    return 0;
}

QIcon CCategoryTreeCtrl::LoadIcon20(int32_t resourceId)
{
    const QImage icon = LoadResourceIcon(resourceId);
    if (icon.isNull())
        return QIcon();
    return QIcon(QPixmap::fromImage(icon.size() == QSize(20, 20) ? icon : icon.scaled(20, 20)));
}

bool CCategoryTreeCtrl::CanDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, int32_t mode) const
{
    if (!dragged || !target || dragged == target || !tree_)
        return false;
    WizNode* node = GetNodeOfItem(dragged);
    WizNode* onto = GetNodeOfItem(target);
    if (!node || !onto)
        return false;
    // A drop inside the dragged item's own subtree would cut it loose.
    for (QTreeWidgetItem* up = target; up; up = up->parent())
        if (up == dragged)
            return false;
    return tree_->CanMove(node, onto, mode);
}

bool CCategoryTreeCtrl::DropItem(QTreeWidgetItem* dragged, QTreeWidgetItem* target, int32_t mode)
{
    if (!CanDrop(dragged, target, mode))
        return false;
    if (tree_->MoveNode(GetNodeOfItem(dragged), GetNodeOfItem(target), mode) != 0)
        return false;
    QTreeWidgetItem* oldParent = dragged->parent();
    if (oldParent)
        oldParent->removeChild(dragged);
    else
        takeTopLevelItem(indexOfTopLevelItem(dragged));
    if (mode == kWizIntoLast) {
        target->addChild(dragged);
    } else {
        QTreeWidgetItem* parent = target->parent();
        const int at = (parent ? parent->indexOfChild(target) : indexOfTopLevelItem(target)) + (mode == kWizAfter ? 1 : 0);
        if (parent)
            parent->insertChild(at, dragged);
        else
            insertTopLevelItem(at, dragged);
    }
    setCurrentItem(dragged);
    return true;
}

void CCategoryTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        dragItem_ = itemAt(event->position().toPoint());
        pressPoint_ = event->position().toPoint();
    }
}

void CCategoryTreeCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!dragging_ && dragItem_ && (event->buttons() & Qt::LeftButton) &&
        (at - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
        grabMouse();
    }
    if (!dragging_) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    QTreeWidgetItem* target = itemAt(at);
    if (target) {
        const bool allowed = CanDrop(dragItem_, target, kWizAfter);
        setCursor(allowed ? Qt::ArrowCursor : Qt::ForbiddenCursor);
        // The drop target shows as the current item while the drag lasts.
        for (QTreeWidgetItemIterator it(this); *it; ++it)
            (*it)->setBackground(0, QBrush());
        target->setBackground(0, palette().highlight());
    }
}

void CCategoryTreeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_) {
        dragItem_ = nullptr;
        QTreeWidget::mouseReleaseEvent(event);
        return;
    }
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    const Qt::KeyboardModifiers keys = event->modifiers();
    const int32_t mode = (keys & Qt::ControlModifier) ? kWizIntoLast : (keys & Qt::ShiftModifier) ? kWizBefore : kWizAfter;
    QTreeWidgetItem* dragged = dragItem_;
    EndDrag();
    if (target)
        DropItem(dragged, target, mode);
}

void CCategoryTreeCtrl::EndDrag()
{
    dragging_ = false;
    dragItem_ = nullptr;
    releaseMouse();
    unsetCursor();
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        (*it)->setBackground(0, QBrush());
}
