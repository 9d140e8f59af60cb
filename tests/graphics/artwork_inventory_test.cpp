// Every picture, cursor and icon of the inventory (resources/INVENTORY.md)
// reaches the program through its own loaders at the size listed there.
#include <gtest/gtest.h>

#include <set>

#include <QCursor>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QRegularExpression>
#include <QTextStream>

#include "app/tool_bar_buttons.h"
#include "foundation/cursors.h"
#include "graphics/dib_handle.h"
#include "graphics/pattern_bitmaps.h"
#include "resources/artwork_resources.h"
#include "wizard/category_tree_ctrl.h"

namespace {

struct Entry {
    int32_t id = 0;
    QString kind;
    QPoint hotSpot;
    QSize size;
};

std::vector<Entry> ReadInventory()
{
    QFile file(QStringLiteral(TESSALINE_SOURCE_DATA_DIR "/../resources/INVENTORY.md"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    std::vector<Entry> entries;
    const QRegularExpression size(QStringLiteral("^(\\d+)[x×](\\d+)$"));
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split('|');
        bool number = false;
        if (cells.size() < 6 || (cells[1].trimmed().toInt(&number), !number))
            continue;
        Entry e;
        e.id = cells[1].trimmed().toInt();
        const QStringList kind = cells[2].trimmed().split(' ');
        e.kind = kind[0];
        if (e.kind == "cursor") {
            const QStringList xy = kind.value(1).split(',');
            e.hotSpot = QPoint(xy.value(0).toInt(), xy.value(1).toInt());
        }
        const QRegularExpressionMatch m = size.match(cells[3].trimmed());
        EXPECT_TRUE(m.hasMatch()) << e.id;
        e.size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
        entries.push_back(e);
    }
    return entries;
}

TEST(ArtworkInventory, ListsEveryResourceTheProgramLoads)
{
    std::set<int32_t> listed;
    for (const Entry& e : ReadInventory())
        EXPECT_TRUE(listed.insert(e.id).second) << e.id << " listed twice";
    std::vector<int32_t> needed = {133, 159, 160, 161, 179, 196, 198, 200, 202, 203, 204, 205, 206, 208, 209, 210,
                                   211, 212, 213, 214, 507, 510, 513, 520, 521, 522, 523, 542, 591, 594, 595, 596,
                                   602, 619, 622, 26020, 26050, 26051, 26073, 26074};
    for (int32_t id = 389; id <= 424; ++id)
        needed.push_back(id);
    for (int32_t id = 604; id <= 615; ++id)
        needed.push_back(id);
    for (int32_t id = 26022; id <= 26041; ++id)
        needed.push_back(id);
    for (int32_t id = 26043; id <= 26049; ++id)
        needed.push_back(id);
    for (int32_t id = 26054; id <= 26072; ++id)
        needed.push_back(id);
    for (int32_t id : needed)
        EXPECT_TRUE(listed.count(id)) << id << " is not in the inventory";
}

TEST(ArtworkInventory, EveryEntryLoadsAtItsSize)
{
    ASSERT_EQ(LoadAppCursors(kFirstAppCursorId, kLastAppCursorId), 0);
    int32_t checked = 0;
    for (const Entry& e : ReadInventory()) {
        SCOPED_TRACE(e.id);
        if (e.kind == "cursor") {
            const QCursor* cursor = GetAppCursor(e.id - kFirstAppCursorId);
            ASSERT_NE(cursor, nullptr);
            EXPECT_EQ(cursor->pixmap().size(), e.size);
            EXPECT_EQ(cursor->hotSpot(), e.hotSpot);
        } else if (e.kind == "icon") {
            EXPECT_EQ(LoadResourceIcon(e.id).size(), e.size);
            if (e.size == QSize(20, 20)) {
                EXPECT_FALSE(CCategoryTreeCtrl::LoadIcon20(e.id).isNull());
            }
        } else {
            DibHandleOwner dib;
            ASSERT_EQ(DibHandleFromResource(e.id, dib.get()), 0);
            EXPECT_EQ(DibHandleWidth(dib.get()), e.size.width());
            EXPECT_EQ(DibHandleHeight(dib.get()), e.size.height());
            EXPECT_EQ(DibHandleBitCount(dib.get()), e.kind == "mono" ? 1 : 24);
        }
        ++checked;
    }
    FreeAppCursors();
    EXPECT_GT(checked, 130);
}

TEST(ArtworkInventory, MissingResourcesLoadAsNothing)
{
    DibHandleOwner dib;
    EXPECT_EQ(DibHandleFromResource(1, dib.get()), 1);
    EXPECT_TRUE(LoadResourceBitmap(1).isNull());
    EXPECT_TRUE(LoadResourceIcon(1).isNull());
    QImage picture;
    QPoint hotSpot;
    EXPECT_FALSE(LoadResourceCursor(1, &picture, &hotSpot));
}

// A strip one cell short would shift every picture after the gap onto the
// wrong button.
TEST(ArtworkInventory, ToolBarStripsHaveOneCellPerButton)
{
    for (int32_t bar : {kToolBarDatabase, kToolBarText, kToolBarDrawTools}) {
        SCOPED_TRACE(bar);
        int32_t buttons = 0;
        for (const ToolBarButton& b : ToolBarResource(bar))
            buttons += b.id != 0;
        const QImage strip = LoadResourceBitmap(bar);
        EXPECT_EQ(strip.width(), buttons * kToolBarImageWidth);
        EXPECT_EQ(strip.height(), kToolBarImageHeight);
    }
    const std::vector<ToolBarButton> tools = ToolBarResource(kToolBarDrawTools);
    const QIcon arrow = ToolBarButtonIcon(kToolBarDrawTools, tools.front().image);
    ASSERT_FALSE(arrow.isNull());
    // The button face is keyed out: the corner shows what is under it.
    EXPECT_EQ(qAlpha(arrow.pixmap(QSize(16, 15)).toImage().pixel(0, 0)), 0);
    EXPECT_TRUE(ToolBarButtonIcon(kToolBarDrawTools, -1).isNull());
}

// The two fixed patterns are facts of the drawing code: the greyed look of
// menus and the outline of dragged frames.
TEST(ArtworkInventory, FixedPatternsKeepTheirBits)
{
    const MonoPattern* checkerboard = PatternBitmapResource(kPatternBitmapCheckerboard);
    const MonoPattern* sparse = PatternBitmapResource(kPatternBitmapSparse);
    ASSERT_NE(checkerboard, nullptr);
    ASSERT_NE(sparse, nullptr);
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(checkerboard->rows[y], y % 2 ? 0xAA : 0x55) << y;
        // A 0 bit is drawn: pixels 0 and 4, then 2 and 6.
        EXPECT_EQ(sparse->rows[y], y % 2 ? 0xDD : 0x77) << y;
    }
}

}  // namespace
