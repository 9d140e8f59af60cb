// The wizard tree's node kinds: payload checks, names, categories and
// their designs, backdrops and their template entries, and the move rules.
#include "catalog/wiz_tree.h"

#include <algorithm>
#include <cstring>

#include "catalog/backdrop_list.h"
#include "catalog/wizard_designs.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_list_format.h"
#include "catalog/wizard_profile.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"

namespace {

bool IsLayoutKind(uint32_t kind)
{
    return kind == kWizKindCategory || kind == kWizKindSubCategory || kind == kWizKindCustomCategory ||
           kind == kWizKindCustomSubCategory;
}

bool IsNamedKind(uint32_t kind)
{
    return kind == kWizKindFilter || kind == kWizKindBackdrop || kind == kWizKindNoFilter ||
           kind == kWizKindNoBackdrop;
}

// Where a node kind keeps its 64-character name in its payload.
size_t NameOffset(uint32_t kind) { return IsLayoutKind(kind) ? kWizCategoryLayoutAt + kWizLayoutNameAt : 0; }

// The profile switches that let categories show their own designs and
// sizes rather than the default picture's.
bool ProfileShowsOwn(const char* name)
{
    const int32_t value = WizardProfileInt(name, -1);
    return value == 1 || value == 3;
}

DibHandle Bitmap(int32_t id)
{
    DibHandleOwner picture;
    if (!picture.get() || DibHandleFromResource(id, picture.get()) != 0)
        return nullptr;
    return picture.release();
}

// The default picture's size; the sizes stay as they are when it is not
// there.
void DefaultPictureSize(double* width, double* height)
{
    DibHandleOwner picture(Bitmap(kWizBitmapDefault));
    if (picture.get() && !DibHandleIsEmpty(picture.get())) {
        *width = DibHandleWidth(picture.get());
        *height = DibHandleHeight(picture.get());
    }
}

uint32_t EntryCount(Handle payload) { return GetU32LE(HandleData(payload) + kWizBackdropCountAt); }

uint8_t* EntryAt(Handle payload, uint32_t index)
{
    return HandleData(payload) + kWizBackdropEntriesAt + size_t(index) * kWizEntrySize;
}

// The move rules: for each mode, which kind may go where, and whether the
// document sizes must agree with the target's (1) or its parent's (2).
struct MoveRule {
    int32_t mode;
    uint32_t node;
    uint32_t target;
    int32_t sizeRule;
};

constexpr MoveRule kMoveRules[] = {
    {kWizIntoLast, 1, 0, 0}, {kWizIntoLast, 2, 1, 0}, {kWizIntoLast, 3, 1, 1}, {kWizIntoLast, 3, 2, 1},
    {kWizIntoLast, 4, 3, 1}, {kWizIntoLast, 4, 2, 1}, {kWizIntoLast, 4, 1, 1}, {kWizAfter, 1, 1, 0},
    {kWizAfter, 2, 2, 0},    {kWizAfter, 3, 3, 1},    {kWizAfter, 4, 4, 1},    {kWizAfter, 4, 3, 1},
    {kWizAfter, 4, 2, 2},    {kWizBefore, 1, 1, 0},   {kWizBefore, 2, 2, 0},   {kWizBefore, 3, 3, 1},
    {kWizBefore, 4, 4, 1},   {kWizBefore, 4, 3, 1},   {kWizBefore, 4, 2, 2},
};

}  // namespace

void WizEntryDecode(const uint8_t* bytes, WizTemplateEntry* entry)
{
    std::memcpy(entry->name, bytes + kWizEntryNameAt, kWizNameSize);
    entry->templateId = GetU32LE(bytes + kWizEntryTemplateAt);
    std::memcpy(entry->reserved, bytes + kWizEntryTemplateAt + 4, sizeof entry->reserved);
}

void WizEntryEncode(const WizTemplateEntry& entry, uint8_t* bytes)
{
    std::memcpy(bytes + kWizEntryNameAt, entry.name, kWizNameSize);
    PutU32LE(bytes + kWizEntryTemplateAt, entry.templateId);
    std::memcpy(bytes + kWizEntryTemplateAt + 4, entry.reserved, sizeof entry.reserved);
}

CWizTree::~CWizTree() { FreeAllNodes(); }

int32_t CWizTree::CheckPayload(uint32_t kind, Handle payload) const
{
    const uint32_t size = HandleGetSize(payload);
    switch (kind) {
    case kWizKindRoot:
    case kWizKindCustomCategory:
    case kWizKindCustomSubCategory:
    case kWizKindNoFilter:
    case kWizKindNoBackdrop:
    case kWizKindSynthetic5:
        return 0;
    case kWizKindCategory:
    case kWizKindSubCategory:
        return size == kWizCategorySize ? 0 : 1;
    case kWizKindFilter:
        return size == kWizFilterSize ? 0 : 1;
    case kWizKindBackdrop:
        // The count must also fit, or an entry would be read beyond the
        // payload.
        return size >= kWizBackdropMinSize && size >= WizBackdropSizeFor(EntryCount(payload)) ? 0 : 1;
    default:
        return 1;
    }
}

int32_t CWizTree::GetName(const WizNode* node, char* buffer, int32_t size) const
{
    if (!buffer || size < 1)
        return kWizMissing;
    buffer[0] = 0;
    Handle payload = nullptr;
    if (!node || GetPayload(node, &payload) != 0)
        return kWizMissing;
    if (!IsLayoutKind(node->kind) && !IsNamedKind(node->kind))
        return 0;
    const size_t at = NameOffset(node->kind);
    if (HandleGetSize(payload) < at + kWizNameSize)
        return kWizMissing;
    WizGetName(HandleData(payload) + at, kWizNameSize, buffer, size);
    return 0;
}

int32_t CWizTree::SetName(WizNode* node, const char* name)
{
    Handle payload = nullptr;
    if (!node || !name || GetPayload(node, &payload) != 0)
        return kWizMissing;
    if (!IsLayoutKind(node->kind) && !IsNamedKind(node->kind))
        return kWizMissing;
    const size_t at = NameOffset(node->kind);
    if (HandleGetSize(payload) < at + kWizNameSize)
        return kWizMissing;
    WizPutName(HandleData(payload) + at, kWizNameSize, name);
    return 0;
}

int32_t CWizTree::GetLabelType(const WizNode* node, uint8_t* layout) const
{
    Handle payload = nullptr;
    if (!node || !layout || !IsLayoutKind(node->kind) || GetPayload(node, &payload) != 0 ||
        HandleGetSize(payload) < kWizCategoryLayoutAt + kWizLayoutSize)
        return kWizMissing;
    std::memcpy(layout, HandleData(payload) + kWizCategoryLayoutAt, kWizLayoutSize);
    return 0;
}

int32_t CWizTree::SetLabelType(WizNode* node, const uint8_t* layout)
{
    Handle payload = nullptr;
    if (!node || !layout || !IsLayoutKind(node->kind) || GetPayload(node, &payload) != 0 ||
        HandleGetSize(payload) < kWizCategoryLayoutAt + kWizLayoutSize)
        return kWizMissing;
    std::memcpy(HandleData(payload) + kWizCategoryLayoutAt, layout, kWizLayoutSize);
    return 0;
}

// --- Categories and their designs -------------------------------------------

int32_t CWizTree::AttachDesign(Handle payload, const char* designPath)
{
    uint8_t* bytes = HandleData(payload);
    if (!designPath || !*designPath) {
        PutU32LE(bytes + kWizCategoryPictureAt, kWizDefaultPicture);
        std::memset(bytes + kWizCategoryDesignAt, 0, kWizNameSize);
        return 0;
    }
    PathRecord source;
    if (int32_t err = PathRecordFromString(designPath, &source))
        return err;
    char name[kWizNameSize] = {};
    if (int32_t err = MakeDesignFile(&source, name, int32_t(sizeof name)))
        return err;
    WizPutName(bytes + kWizCategoryDesignAt, kWizNameSize, name);
    PutU32LE(bytes + kWizCategoryPictureAt, kWizDesignAttached);
    return 0;
}

WizNode* CWizTree::AddLayoutNode(uint32_t kind, WizNode* parent, const uint8_t* labelType, const char* designPath)
{
    if (!labelType || !parent || !OwnsNode(parent))
        return nullptr;
    HandleOwner payload(HandleNewClear(kWizCategorySize));
    if (!payload.get())
        return nullptr;
    std::memcpy(HandleData(payload.get()) + kWizCategoryLayoutAt, labelType, kWizLayoutSize);
    if (AttachDesign(payload.get(), designPath) != 0)
        return nullptr;
    WizNode* node = NewNode(kind, parent, payload.get());
    if (!node) {
        // The design file made for the node would be nobody's.
        if (GetU32LE(HandleData(payload.get()) + kWizCategoryPictureAt) == kWizDesignAttached)
            DeleteDesignFile(reinterpret_cast<const char*>(HandleData(payload.get()) + kWizCategoryDesignAt));
        return nullptr;
    }
    payload.release();
    return node;
}

WizNode* CWizTree::AddCategory(const uint8_t* labelType, const char* designPath)
{
    return AddLayoutNode(kWizKindCategory, Root(), labelType, designPath);
}

WizNode* CWizTree::AddSubCategory(WizNode* parent, const uint8_t* labelType, const char* designPath)
{
    return AddLayoutNode(kWizKindSubCategory, parent, labelType, designPath);
}

WizNode* CWizTree::AddFilter(WizNode* parent)
{
    if (!parent || !OwnsNode(parent))
        return nullptr;
    HandleOwner payload(HandleNewClear(kWizFilterSize));
    if (!payload.get())
        return nullptr;
    WizPutName(HandleData(payload.get()) + kWizFilterNameAt, kWizNameSize, "New_Filter");
    WizNode* node = NewNode(kWizKindFilter, parent, payload.get());
    if (node)
        payload.release();
    return node;
}

WizNode* CWizTree::AddBackdrop(WizNode* parent, uint32_t groupId)
{
    if (!parent || !OwnsNode(parent))
        return nullptr;
    HandleOwner payload(HandleNewClear(kWizBackdropMinSize));
    if (!payload.get())
        return nullptr;
    uint8_t* bytes = HandleData(payload.get());
    PutU32LE(bytes + kWizBackdropGroupAt, groupId);
    uint8_t item[kBkItemSize];
    char name[kWizNameSize] = "New_Backdrop";
    if (GetBackdropItem(int32_t(groupId), 1, item) == 0)
        BackdropItemName(item, name, int32_t(sizeof name));
    WizPutName(bytes + kWizBackdropNameAt, kWizNameSize, name);
    WizNode* node = NewNode(kWizKindBackdrop, parent, payload.get());
    if (node)
        payload.release();
    return node;
}

int32_t CWizTree::SetDesign(WizNode* node, const char* designPath, uint32_t groupId)
{
    Handle payload = nullptr;
    if (!node || GetPayload(node, &payload) != 0)
        return kWizMissing;
    switch (node->kind) {
    case kWizKindCategory:
    case kWizKindSubCategory: {
        // The new design is made before the old one goes, so a picture that
        // does not convert leaves the category as it was.
        HandleOwner changed(HandleNew(kWizCategorySize));
        if (!changed.get())
            return MemLastError();
        std::memcpy(HandleData(changed.get()), HandleData(payload), kWizCategorySize);
        if (int32_t err = AttachDesign(changed.get(), designPath))
            return err;
        const uint8_t* old = HandleData(payload);
        if (GetU32LE(old + kWizCategoryPictureAt) == kWizDesignAttached)
            DeleteDesignFile(reinterpret_cast<const char*>(old + kWizCategoryDesignAt));
        std::memcpy(HandleData(payload), HandleData(changed.get()), kWizCategorySize);
        return 0;
    }
    case kWizKindBackdrop:
        PutU32LE(HandleData(payload) + kWizBackdropGroupAt, groupId);
        return 0;
    case kWizKindRoot:
    case kWizKindFilter:
        return 0;
    default:
        return kWizMissing;
    }
}

int32_t CWizTree::GetGroup(const WizNode* node, uint32_t* groupId) const
{
    Handle payload = nullptr;
    if (BackdropPayload(node, &payload) != 0)
        return kWizMissing;
    *groupId = GetU32LE(HandleData(payload) + kWizBackdropGroupAt);
    return 0;
}

int32_t CWizTree::OnDeleteNode(uint32_t kind, Handle payload)
{
    if ((kind == kWizKindCategory || kind == kWizKindSubCategory) && CheckPayload(kind, payload) == 0) {
        const uint8_t* bytes = HandleData(payload);
        if (GetU32LE(bytes + kWizCategoryPictureAt) == kWizDesignAttached)
            DeleteDesignFile(reinterpret_cast<const char*>(bytes + kWizCategoryDesignAt));
    }
    return 0;
}

// --- Pictures and sizes -------------------------------------------------------

DibHandle CWizTree::GetPicture(const WizNode* node, int32_t item)
{
    Handle payload = nullptr;
    if (!node || GetPayload(node, &payload) != 0)
        return nullptr;
    switch (node->kind) {
    case kWizKindCategory:
    case kWizKindSubCategory: {
        const bool category = node->kind == kWizKindCategory;
        const uint8_t* bytes = HandleData(payload);
        if (ProfileShowsOwn(category ? "DocCtg" : "DocSubCtg") &&
            GetU32LE(bytes + kWizCategoryPictureAt) == kWizDesignAttached) {
            char name[kWizNameSize];
            WizGetName(bytes + kWizCategoryDesignAt, kWizNameSize, name, int32_t(sizeof name));
            if (DibHandle picture = LoadDesignPicture(name))
                return picture;
        }
        return Bitmap(category ? kWizBitmapDefault : kWizBitmapSubCategory);
    }
    case kWizKindBackdrop:
        return GetBackdropPicture(int32_t(GetU32LE(HandleData(payload) + kWizBackdropGroupAt)), item);
    case kWizKindCustomCategory:
    case kWizKindCustomSubCategory:
    case kWizKindNoBackdrop:
        return Bitmap(kWizBitmapDefault);
    default:
        return nullptr;
    }
}

int32_t CWizTree::GetDocSize(const WizNode* node, double* width, double* height)
{
    *width = *height = 1.0;
    const WizNode* n = node;
    while (n && !IsLayoutKind(n->kind))
        n = n->parent;
    if (!n)
        return kWizMissing;
    if (n->kind == kWizKindCustomCategory || n->kind == kWizKindCustomSubCategory ||
        (n->kind == kWizKindCategory && !ProfileShowsOwn("DocCtg"))) {
        DefaultPictureSize(width, height);
        return 0;
    }
    uint8_t layout[kWizLayoutSize];
    if (GetLabelType(n, layout) != 0)
        return kWizMissing;
    *width = GetF64LE(layout + kWizLayoutWidthAt);
    *height = GetF64LE(layout + kWizLayoutHeightAt);
    return 0;
}

bool CWizTree::CanMove(const WizNode* node, const WizNode* target, int32_t mode)
{
    if (!CWizTreeNode::CanMove(node, target, mode))
        return false;
    const MoveRule* rule = nullptr;
    for (const MoveRule& r : kMoveRules) {
        if (r.mode == mode && r.node == node->kind && r.target == target->kind)
            rule = &r;
    }
    if (!rule)
        return false;
    if (rule->sizeRule == 0)
        return true;
    const WizNode* against = rule->sizeRule == 1 ? target : target->parent;
    double w1, h1, w2, h2;
    if (GetDocSize(node, &w1, &h1) != 0 || GetDocSize(against, &w2, &h2) != 0)
        return false;
    return w1 == w2 && h1 == h2;
}

// --- Template entries of backdrops --------------------------------------------

int32_t CWizTree::BackdropPayload(const WizNode* node, Handle* payload) const
{
    if (!node || node->kind != kWizKindBackdrop)
        return kWizMissing;
    return GetPayload(node, payload) != 0 ? kWizMissing : 0;
}

int32_t CWizTree::GetEntryCount(const WizNode* backdrop, int32_t* count) const
{
    Handle payload = nullptr;
    if (!count || BackdropPayload(backdrop, &payload) != 0)
        return kWizMissing;
    *count = int32_t(std::min<uint32_t>(EntryCount(payload), INT32_MAX));
    return 0;
}

int32_t CWizTree::GetEntry(const WizNode* backdrop, int32_t n, WizTemplateEntry* entry) const
{
    Handle payload = nullptr;
    if (!entry || BackdropPayload(backdrop, &payload) != 0)
        return kWizMissing;
    if (n < 1 || uint32_t(n) > EntryCount(payload))
        return kWizMissing;
    WizEntryDecode(EntryAt(payload, uint32_t(n - 1)), entry);
    return 0;
}

int32_t CWizTree::SetEntry(WizNode* backdrop, int32_t* n, const WizTemplateEntry& entry)
{
    Handle payload = nullptr;
    if (!n || BackdropPayload(backdrop, &payload) != 0)
        return kWizMissing;
    const uint32_t count = EntryCount(payload);
    if (*n >= 1 && uint32_t(*n) <= count) {
        WizEntryEncode(entry, EntryAt(payload, uint32_t(*n - 1)));
        return 0;
    }
    if (count >= (INT32_MAX - kWizBackdropEntriesAt) / kWizEntrySize)
        return kWizMissing;
    const size_t needed = WizBackdropSizeFor(count + 1);
    if (needed > HandleGetSize(payload) && HandleResize(payload, int32_t(needed)) != 0)
        return MemLastError();
    WizEntryEncode(entry, EntryAt(payload, count));
    PutU32LE(HandleData(payload) + kWizBackdropCountAt, count + 1);
    *n = int32_t(count + 1);
    return 0;
}

int32_t CWizTree::RemoveEntry(WizNode* backdrop, int32_t n)
{
    Handle payload = nullptr;
    if (BackdropPayload(backdrop, &payload) != 0)
        return kWizMissing;
    uint32_t count = EntryCount(payload);
    if (n == 0) {
        count = 0;
    } else {
        if (n < 1 || uint32_t(n) > count)
            return kWizMissing;
        uint8_t* gap = EntryAt(payload, uint32_t(n - 1));
        std::memmove(gap, gap + kWizEntrySize, size_t(count - uint32_t(n)) * kWizEntrySize);
        --count;
    }
    PutU32LE(HandleData(payload) + kWizBackdropCountAt, count);
    // Shrinking never fails; the single entry a payload always has room for
    // holds nothing once the last is gone.
    HandleResize(payload, int32_t(WizBackdropSizeFor(count)));
    if (count == 0)
        std::memset(EntryAt(payload, 0), 0, kWizEntrySize);
    return 0;
}

int32_t CWizTree::MoveEntry(WizNode* backdrop, int32_t from, int32_t to)
{
    Handle payload = nullptr;
    if (BackdropPayload(backdrop, &payload) != 0)
        return kWizMissing;
    const uint32_t count = EntryCount(payload);
    if (from < 1 || to < 1 || uint32_t(from) > count || uint32_t(to) > count)
        return kWizMissing;
    uint8_t* first = EntryAt(payload, 0);
    const size_t a = size_t(from - 1), b = size_t(to - 1);
    if (a < b)
        std::rotate(first + a * kWizEntrySize, first + (a + 1) * kWizEntrySize, first + (b + 1) * kWizEntrySize);
    else if (b < a)
        std::rotate(first + b * kWizEntrySize, first + a * kWizEntrySize, first + (a + 1) * kWizEntrySize);
    return 0;
}

// --- Walks over the whole tree --------------------------------------------------

int32_t CWizTree::RemoveTemplateRefs(uint32_t templateId)
{
    walkCounter_ = 0;
    for (WizNode* n = Root(); n; n = NextPreOrder(n, Root())) {
        Handle payload = nullptr;
        if (BackdropPayload(n, &payload) != 0)
            continue;
        for (uint32_t i = EntryCount(payload); i >= 1; --i) {
            if (GetU32LE(EntryAt(payload, i - 1) + kWizEntryTemplateAt) == templateId &&
                RemoveEntry(n, int32_t(i)) == 0)
                ++walkCounter_;
        }
    }
    return 0;
}

int32_t CWizTree::DeleteBackdropNodes(uint32_t groupId)
{
    std::vector<WizNode*> doomed;
    for (WizNode* n = Root(); n; n = NextPreOrder(n, Root())) {
        uint32_t group = 0;
        if (GetGroup(n, &group) == 0 && group == groupId)
            doomed.push_back(n);
    }
    // A file may hang one backdrop below another; one deleted with an
    // earlier one's subtree is gone already.
    int32_t deleted = 0;
    for (WizNode* n : doomed) {
        if (!OwnsNode(n))
            continue;
        DeleteNode(n);
        ++deleted;
    }
    walkCounter_ = deleted;
    return 0;
}

int32_t CWizTree::AddTemplateToBackdrops(const DocSetup& setup, const WizTemplateEntry& entry)
{
    walkCounter_ = 0;
    int32_t result = 0;
    for (WizNode* n = Root(); n; n = NextPreOrder(n, Root())) {
        uint32_t group = 0;
        if (GetGroup(n, &group) != 0 || group != setup.backdropId)
            continue;
        const WizNode* category = n->parent;
        while (category && category->kind != kWizKindCategory && category->kind != kWizKindSubCategory)
            category = category->parent;
        uint8_t layout[kWizLayoutSize];
        if (!category || GetLabelType(category, layout) != 0 ||
            std::memcmp(layout, setup.labelLayout, kWizLayoutSize) != 0)
            continue;
        int32_t number = 0;
        if (int32_t err = SetEntry(n, &number, entry))
            result = result ? result : err;
        else
            ++walkCounter_;
    }
    return result;
}

int32_t CWizTree::FindCategory(const DocSetup& setup, WizNode** node)
{
    if (!node)
        return kWizMissing;
    *node = nullptr;
    for (WizNode* n = Root(); n; n = NextPreOrder(n, Root())) {
        uint8_t layout[kWizLayoutSize];
        if ((n->kind == kWizKindCategory || n->kind == kWizKindSubCategory) && GetLabelType(n, layout) == 0 &&
            std::memcmp(layout, setup.labelLayout, kWizLayoutSize) == 0)
            *node = n;
    }
    return 0;
}

int32_t CWizTree::CollectLabelTypes(Handle layouts, int32_t* count)
{
    if (!layouts || !count)
        return kWizMissing;
    *count = 0;
    if (HandleResize(layouts, 0) != 0)
        return MemLastError();
    for (WizNode* n = Root(); n; n = NextPreOrder(n, Root())) {
        if (n->kind != kWizKindCategory && n->kind != kWizKindSubCategory)
            continue;
        if (n->kind == kWizKindCategory) {
            bool backdrop = false, subCategory = false;
            for (const WizNode* c = n->firstChild; c; c = c->next) {
                backdrop = backdrop || c->kind == kWizKindBackdrop;
                subCategory = subCategory || c->kind == kWizKindSubCategory;
            }
            if (!backdrop && subCategory)
                continue;
        }
        uint8_t layout[kWizLayoutSize];
        if (GetLabelType(n, layout) != 0)
            continue;
        if (HandleAppendBytes(layout, layouts, kWizLayoutSize) != 0)
            return MemLastError();
        ++*count;
    }
    return 0;
}

int32_t CWizTree::HasBackdrops(WizNode* node)
{
    if (!node)
        return 0;
    int32_t depth = 0;
    switch (node->kind) {
    case kWizKindCategory:
    case kWizKindFilter:
    case kWizKindNoFilter:
        depth = 1;
        break;
    case kWizKindSubCategory:
    case kWizKindCustomCategory:
    case kWizKindCustomSubCategory:
        depth = 2;
        break;
    default:
        return 0;
    }
    return FindDescendant(node, kWizKindBackdrop, depth) ? 1 : 0;
}
