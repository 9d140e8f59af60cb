// Wizard designs on a card document: templates saved into the wizard's
// stock and loaded back, backdrops, set-ups applied and cleared, and the
// preview the wizard shows.
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <vector>

#include "card_test_support.h"
#include "card_view_image.h"
#include "carddoc/selection_tool.h"
#include "carddoc/template_name_prompt.h"
#include "catalog/backdrop_list.h"
#include "catalog/doc_setup_format.h"
#include "catalog/template_list.h"
#include "catalog/wizard_data.h"
#include "catalog/wizard_list_format.h"
#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "frames/frame_obj_image.h"
#include "frames/page_record_format.h"
#include "graphics/metafile.h"
#include "platform/command_target.h"
#include "platform/dc.h"
#include "platform/menus.h"
#include "platform/profile.h"
#include "records/command_ids.h"
#include "records/menu_resources.h"
#include "typography/font_table.h"
#include "wizard/card_layout_wizard.h"
#include "wizard/dlg_wizard.h"
#include "wizard/new_document_wizard.h"

namespace {

struct FrameShape {
    int16_t type;
    int32_t left, top, right, bottom;
    bool operator==(const FrameShape&) const = default;
};

// The frames of the shown page relative to its first slot, bottom to top.
std::vector<FrameShape> Shapes(CLabelsDoc& doc, bool withBackdrop)
{
    IntRect slot;
    doc.GetPageSlotRect(0, &slot);
    std::vector<FrameShape> shapes;
    CurrPageMng* pages = doc.PageManager();
    for (int16_t i = 0; i < pages->FrameCount(); ++i) {
        FrameObj* f = pages->FrameAt(i);
        if (f->Block().backdrop && !withBackdrop)
            continue;
        IntRect b;
        f->GetBounds(&b, 0, kGeometryCurrent);
        shapes.push_back({f->GetType(), b.left - slot.left, b.top - slot.top, b.right - slot.left,
                          b.bottom - slot.top});
    }
    return shapes;
}

uint32_t PageOption(CLabelsDoc& doc, int word)
{
    uint8_t block[kPageGuideBlockSize];
    doc.GetPageOptions(block);
    return GetU32LE(block + 4 * word);
}

}  // namespace

class TemplatesTest : public CardDocTest {
protected:
    void SetUp() override
    {
        CardDocTest::SetUp();
        ASSERT_EQ(WizardTreeInit(nullptr), 0);
    }
    void TearDown() override
    {
        WizardTreeFree();
        CardDocTest::TearDown();
    }

    std::unique_ptr<CLabelsDoc> Viewed(std::unique_ptr<CLabelsDoc> doc, ImageCardView* view)
    {
        if (doc) {
            doc->SetView(view);
            if (doc->State() < kDocStateViewed)
                doc->InitialUpdate();
        }
        return doc;
    }

    // A backdrop group of the wizard holding one picture; its id.
    int32_t AddBackdrop(QColor colour)
    {
        QImage picture(40, 24, QImage::Format_RGB32);
        picture.fill(colour);
        const std::string file = docs_.file("backdrop.png");
        EXPECT_TRUE(picture.save(QString::fromStdString(file)));
        PathRecord source = DocPath("backdrop.png");
        int32_t group = 0, n = 0;
        uint8_t item[kBkItemSize];
        EXPECT_EQ(ReadBackdropFile(&source, nullptr, &group, &n, item), 0);
        return group;
    }

    ImageCardView view1_{700, 500};
    ImageCardView view2_{700, 500};
};

TEST_F(TemplatesTest, ATemplateSavedIntoTheWizardGivesANewDocumentTheSameFramesAndText)
{
    auto source = Viewed(CardWithText("Jane Doe"), &view1_);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(source->CanSaveTemplate());
    // A backdrop is part of the design, never of the template.
    ASSERT_EQ(source->LoadWizardBackdrop(AddBackdrop(Qt::blue), 1), 0);
    const std::vector<FrameShape> saved = Shapes(*source, false);
    ASSERT_EQ(saved.size(), 2u);

    int32_t id = 0;
    ASSERT_EQ(source->AddTemplateToWizard("Plain", &id), 0) << alerts_.lastText();
    ASSERT_NE(id, 0);
    uint8_t info[kTmInSize];
    ASSERT_EQ(ReadTemplateInfo(id, info), 0);
    char name[80];
    TemplateInfoName(info, name, int32_t(sizeof name));
    EXPECT_STREQ(name, "Plain");
    double width = 0, height = 0;
    TemplateInfoSize(info, &width, &height);
    EXPECT_EQ(width, source->PageGeometry().cardWidth);
    EXPECT_EQ(height, source->PageGeometry().cardHeight);
    HandleOwner preview(LoadTemplatePreviewData(id));
    EXPECT_NE(preview.get(), nullptr) << "the preview picture is stored";

    auto target = Viewed(NewCardDocument(), &view2_);
    ASSERT_NE(target, nullptr);
    target->NewFrame(kFrameEllipse)->SetFromRect(IntRect{5, 5, 30, 30});
    ASSERT_EQ(target->LoadWizardTemplate(id, true), 0);
    EXPECT_EQ(Shapes(*target, true), saved) << "the ellipse went, no backdrop came";
    EXPECT_EQ(FirstStoryText(*target), FirstStoryText(*source));
    EXPECT_NE(FirstStoryText(*target).find("Jane Doe"), std::string::npos);
    EXPECT_EQ(target->Fonts().Fonts().GetCount(), source->Fonts().Fonts().GetCount());
    EXPECT_TRUE(target->IsModified());

    // Loading again replaces the frames rather than adding to them; a
    // backdrop the target has stays.
    ASSERT_EQ(target->LoadWizardBackdrop(AddBackdrop(Qt::red), 1), 0);
    ASSERT_EQ(target->LoadWizardTemplate(id, true), 0);
    EXPECT_EQ(Shapes(*target, false), saved);
    ASSERT_NE(target->PageManager()->GetBackdropFrame(), nullptr);
}

TEST_F(TemplatesTest, ATemplateFileRoundTripsAndDamagedOrMissingOnesChangeNothing)
{
    auto source = Viewed(CardWithText("Box"), &view1_);
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->WriteTemplateFile(DocPath("mine.tp"), "mine"), 0);
    auto target = Viewed(NewCardDocument(), &view2_);
    ASSERT_EQ(target->LoadTemplateFromPath(DocPath("mine.tp")), 0);
    EXPECT_EQ(Shapes(*target, true), Shapes(*source, true));

    // A body that claims more frames than it holds.
    Handle body = HandleNew(4);
    PutU32LE(HandleData(body), 100000);
    EXPECT_NE(target->ApplyTemplateBody(body), 0);
    HandleFree(body);
    EXPECT_EQ(target->PageManager()->FrameCount(), 0);

    EXPECT_NE(target->LoadTemplateFromPath(DocPath("none.tp")), 0);
    EXPECT_NE(target->LoadWizardTemplate(999, true), 0) << "an id the wizard does not have";
    EXPECT_EQ(Leftovers("*.TMP"), 0);
    EXPECT_EQ(QDir(QString::fromStdString(program_.path())).entryList({"*.TMP"}, QDir::Files).size(), 0)
        << "the scratch files are gone";
}

TEST_F(TemplatesTest, TheBackdropFillsTheCardBeneathEverythingAndIsNeverSaved)
{
    auto doc = Viewed(CardWithText("Over"), &view1_);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->LoadWizardBackdrop(0, 0), 0) << "no backdrop asked";
    EXPECT_EQ(doc->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_NE(doc->LoadWizardBackdrop(77, 1), 0) << "a group the wizard does not have";
    EXPECT_EQ(doc->PageManager()->GetBackdropFrame(), nullptr);

    ASSERT_EQ(doc->LoadWizardBackdrop(AddBackdrop(Qt::darkGreen), 1), 0);
    FrameObj* backdrop = doc->PageManager()->FrameAt(0);
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(backdrop, doc->PageManager()->GetBackdropFrame());
    EXPECT_EQ(backdrop->GetType(), kFrameImage);
    EXPECT_TRUE(backdrop->Block().undeletable);
    EXPECT_TRUE(backdrop->Block().pinned);
    EXPECT_EQ(static_cast<FrameObjImage*>(backdrop)->BlockA().fit, 1);
    IntRect slot, bounds;
    doc->GetPageSlotRect(0, &slot);
    backdrop->GetBounds(&bounds, 0, kGeometryCurrent);
    EXPECT_EQ(bounds.left, slot.left);
    EXPECT_EQ(bounds.top, slot.top);
    EXPECT_NEAR(bounds.right, slot.right, 1);
    EXPECT_NEAR(bounds.bottom, slot.bottom, 1);

    // A second backdrop replaces the picture in the same frame.
    const int16_t frames = doc->PageManager()->FrameCount();
    ASSERT_EQ(doc->LoadWizardBackdrop(AddBackdrop(Qt::yellow), 1), 0);
    EXPECT_EQ(doc->PageManager()->FrameCount(), frames);

    // Only the backdrop left: there is no template to save.
    doc->ClearAndApplySetup(doc->DocSetupBlock());
    ASSERT_EQ(doc->LoadWizardBackdrop(AddBackdrop(Qt::yellow), 1), 0);
    EXPECT_FALSE(doc->CanSaveTemplate());
    Handle body = nullptr;
    ASSERT_EQ(doc->BuildTemplateBody(&body), 0);
    EXPECT_EQ(GetU32LE(HandleData(body)), 0u);
    HandleFree(body);
}

TEST_F(TemplatesTest, ClearAndApplySetupLeavesAnEmptyUnchangedCardOfTheNewSize)
{
    auto doc = Viewed(CardWithText("Gone"), &view1_);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->LoadWizardBackdrop(AddBackdrop(Qt::blue), 1), 0);
    doc->SetModified(true);
    std::vector<uint8_t> record(doc->DocSetupBlock(), doc->DocSetupBlock() + kDocSetupSize);
    PutF64LE(&record[kDocSetupLabelWidth], 300.0);
    PutF64LE(&record[kDocSetupLabelHeight], 150.0);
    doc->ClearAndApplySetup(record.data());
    EXPECT_EQ(doc->PageManager()->FrameCount(), 0);
    EXPECT_EQ(doc->PageManager()->GroupCount(), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->PageGeometry().cardWidth, 300.0);
    EXPECT_EQ(doc->PageGeometry().cardHeight, 150.0);
    IntRect slot;
    doc->GetPageSlotRect(0, &slot);
    EXPECT_EQ(slot.right - slot.left, 300);
}

TEST_F(TemplatesTest, ApplyLayoutAndDesignBringsTemplateBackdropWordsAndWholeSetUp)
{
    auto source = Viewed(CardWithText("Design"), &view1_);
    int32_t id = 0;
    ASSERT_EQ(source->AddTemplateToWizard("Design", &id), 0);
    const int32_t group = AddBackdrop(Qt::cyan);

    auto doc = Viewed(NewCardDocument(), &view2_);
    std::vector<uint8_t> record(doc->DocSetupBlock(), doc->DocSetupBlock() + kDocSetupSize);
    PutU32LE(&record[kDocSetupFromCategory], 7);
    PutU32LE(&record[kDocSetupBackdropId], uint32_t(group));
    PutU32LE(&record[kDocSetupBackdropColour], 1);
    PutU32LE(&record[kDocSetupTemplateId], uint32_t(id));
    PutU32LE(&record[156], 1);
    std::strcpy(reinterpret_cast<char*>(&record[kDocSetupFieldTexts]), "Ada");

    // Not whole: the design only.
    ASSERT_EQ(doc->ApplyLayoutAndDesign(record.data(), false), 0);
    EXPECT_EQ(Shapes(*doc, false), Shapes(*source, false));
    ASSERT_NE(doc->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_EQ(PageOption(*doc, 5), 7u);
    EXPECT_EQ(PageOption(*doc, 6), uint32_t(group));
    EXPECT_EQ(PageOption(*doc, 7), 1u);
    EXPECT_EQ(PageOption(*doc, 8), uint32_t(id));
    EXPECT_EQ(GetU32LE(doc->DocSetupBlock() + kDocSetupTemplateId), 0u);

    // Whole: also the field formats, the printable backdrop and the record.
    ASSERT_EQ(doc->ApplyLayoutAndDesign(record.data(), true), 0);
    EXPECT_STREQ(FieldPreviewText(FieldIdByIndex(0)), "Ada");
    ASSERT_NE(doc->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_EQ(doc->PageManager()->GetBackdropFrame()->Block().attr.printable, 1);
    EXPECT_EQ(std::memcmp(doc->DocSetupBlock(), record.data(), kDocSetupSize), 0);
    for (int16_t i = 0; i < doc->PageManager()->FrameCount(); ++i)
        EXPECT_EQ(doc->PageManager()->FrameAt(i)->Block().recordFed, 1);
    EXPECT_EQ(Shapes(*doc, false), Shapes(*source, false)) << "applied once, not twice";

    // A missing template and backdrop add up their codes; the page stays.
    PutU32LE(&record[kDocSetupTemplateId], 999);
    PutU32LE(&record[kDocSetupBackdropId], 999);
    EXPECT_NE(doc->ApplyLayoutAndDesign(record.data(), false), 0);
    EXPECT_EQ(Shapes(*doc, false), Shapes(*source, false));
}

TEST_F(TemplatesTest, TheWizardPreviewShowsTheFramesButNotTheBackdrop)
{
    auto doc = Viewed(CardWithText("Seen"), &view1_);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->LoadWizardBackdrop(AddBackdrop(Qt::black), 1), 0);
    Handle bits = nullptr;
    ASSERT_EQ(doc->RenderWizardPreview(&bits), 0);
    ASSERT_NE(bits, nullptr);
    HandleOwner owner(bits);
    const int w = int(doc->PageGeometry().cardWidth);
    const int h = int(doc->PageGeometry().cardHeight);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    ASSERT_EQ(MetafilePlayHandle(dc.get(), bits, IntRect{0, 0, w, h}), 0);
    int ink = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(ink, 20) << "the frames are drawn";
    EXPECT_LT(ink, w * h / 2) << "the black backdrop is not";
    EXPECT_EQ(doc->PageManager()->GetBackdropFrame()->Block().attr.shown, 1) << "shown again afterwards";
}

TEST_F(TemplatesTest, TemplateCommandsNeedMasterModeAndAName)
{
    auto doc = Viewed(CardWithText("Named"), &view1_);
    ASSERT_NE(doc, nullptr);
    static std::string answer;
    const TemplateNameAsker previous = SetTemplateNameAsker([](QWidget*, std::string* name) {
        EXPECT_EQ(*name, "New_Template");
        if (answer.empty())
            return false;
        *name = answer;
        return true;
    });
    Handle ids = HandleNew(0), records = HandleNew(0);
    int32_t count = 0;

    answer.clear();
    doc->SaveTemplate(false, true, true);
    ASSERT_EQ(ListTemplates(records, ids, &count), 0);
    EXPECT_EQ(count, 0) << "cancelled";

    answer = std::string(80, 'n');
    doc->SaveTemplate(false, true, false);
    ASSERT_EQ(ListTemplates(records, ids, &count), 0);
    ASSERT_EQ(count, 1);
    char name[100];
    TemplateInfoName(HandleData(records), name, int32_t(sizeof name));
    EXPECT_EQ(std::string(name).size(), 63u) << "kept to the record's field";

    // Changing a template the page does not come from tells so.
    EXPECT_FALSE(doc->CanChangeTemplateInWizard());
    EXPECT_EQ(doc->ReplaceTemplateInWizard(42), kTemplateNotInWizard);
    const int32_t id = int32_t(GetU32LE(HandleData(ids)));
    doc->NewFrame(kFrameEllipse)->SetFromRect(IntRect{1, 1, 20, 20});
    ASSERT_EQ(doc->ReplaceTemplateInWizard(id), 0);
    auto other = Viewed(NewCardDocument(), &view2_);
    ASSERT_EQ(other->LoadWizardTemplate(id, true), 0);
    EXPECT_EQ(other->PageManager()->FrameCount(), 3) << "the changed template";
    ASSERT_EQ(ListTemplates(records, ids, &count), 0);
    EXPECT_EQ(count, 1) << "replaced, not added";

    HandleFree(ids);
    HandleFree(records);
    SetTemplateNameAsker(previous);
}

namespace {

// Master mode as the profile keeps it, taken away again when the test ends.
struct MasterModeValue {
    explicit MasterModeValue(int32_t value) { WriteProfileInt("Wizard", "MasterMode", value); }
    ~MasterModeValue() { QSettings().remove("Wizard/MasterMode"); }
};

int g_asked = 0;
int32_t g_layoutTemplate = 0;

int32_t FinishWithTemplate(CDlgWizard* sheet)
{
    sheet->Record().templateId = uint32_t(g_layoutTemplate);
    return kIdWizFinish;
}

int Count(QMenu* menu, const char* text)
{
    int n = 0;
    for (QAction* a : menu->actions())
        n += a->text() == QString::fromLatin1(text);
    return n;
}

}  // namespace

TEST_F(TemplatesTest, WithMasterModeOffTheStockIsLeftAloneAndTheMenusStayPlain)
{
    auto doc = Viewed(CardWithText("Mine"), &view1_);
    ASSERT_NE(doc, nullptr);
    const TemplateNameAsker previous = SetTemplateNameAsker([](QWidget*, std::string*) {
        ++g_asked;
        return true;
    });
    QMenuBar bar;
    for (QMenu* menu : BuildMenuResource(kMenuCard, &bar))
        bar.addMenu(menu);
    int32_t at = -1;
    QMenu* edit = MenuFindSubmenu(&bar, "&Edit", &at);
    QMenu* file = MenuFindSubmenu(&bar, "&File", &at);
    ASSERT_TRUE(edit && file);
    const int editItems = int(edit->actions().size());
    {
        MasterModeValue off(0);
        g_asked = 0;
        doc->SaveTemplate(false, true, true);
        EXPECT_EQ(g_asked, 0);
        doc->ToggleBackdrop();
        EXPECT_EQ(doc->PageManager()->GetBackdropFrame(), nullptr);
        doc->BuildTemplatesMenu(&bar);
        EXPECT_EQ(int(edit->actions().size()), editItems);
        EXPECT_EQ(MenuFindSubmenu(file, "Templates", &at), nullptr);
    }
    // A missing value is master mode: built twice, the items come once.
    doc->BuildTemplatesMenu(&bar);
    doc->BuildTemplatesMenu(&bar);
    EXPECT_EQ(Count(edit, "Wizard Setup..."), 1);
    EXPECT_EQ(MenuGetCommandId(edit->actions().back()), kCmdWizardSetup);
    QMenu* templates = MenuFindSubmenu(file, "Templates", &at);
    ASSERT_NE(templates, nullptr);
    EXPECT_EQ(Count(file, "Templates"), 1);
    EXPECT_EQ(file->actions()[at - 2]->text(), "Close A&ll") << "after Close All and a separator";
    EXPECT_TRUE(file->actions()[at - 1]->isSeparator());
    EXPECT_EQ(templates->actions().size(), 4);
    SetTemplateNameAsker(previous);
}

TEST_F(TemplatesTest, SetAsBackdropTurnsAPictureFrameIntoTheBackdropAndBack)
{
    auto doc = Viewed(CardWithText("Pic"), &view1_);
    ASSERT_NE(doc, nullptr);
    FrameObj* picture = doc->NewFrame(kFrameImage);
    picture->SetFromRect(IntRect{40, 40, 80, 80});
    SelectionTool* tool = SelectionToolOf(doc.get());
    doc->SelectTool(kToolObject);
    tool->DeselectAll(false);
    bool checked = true;
    EXPECT_FALSE(doc->CanToggleBackdrop(&checked)) << "nothing selected, no backdrop";
    tool->SelectFrame(doc->PageManager()->FrameAt(1), false);
    EXPECT_FALSE(doc->CanToggleBackdrop(&checked)) << "a rectangle is no picture";
    tool->DeselectAll(false);
    tool->SelectFrame(picture, false);
    ASSERT_TRUE(doc->CanToggleBackdrop(&checked));
    EXPECT_FALSE(checked);

    CmdUI state(kCmdSetAsBackdrop);
    ASSERT_TRUE(doc->OnUpdateCommand(state));
    EXPECT_TRUE(state.enabled);
    ASSERT_TRUE(doc->OnCommand(kCmdSetAsBackdrop)) << "the card window's command reaches it";
    FrameObj* backdrop = doc->PageManager()->GetBackdropFrame();
    ASSERT_EQ(backdrop, picture);
    EXPECT_EQ(doc->PageManager()->FrameAt(0), picture);
    IntRect slot, bounds;
    doc->GetPageSlotRect(0, &slot);
    picture->GetBounds(&bounds, 0, kGeometryCurrent);
    EXPECT_EQ(bounds.left, slot.left);
    EXPECT_EQ(bounds.top, slot.top);
    EXPECT_TRUE(picture->Block().undeletable && picture->Block().pinned);

    EXPECT_TRUE(doc->CanTogglePrintableBackdrop(&checked));
    const bool printable = checked;
    doc->TogglePrintableBackdrop();
    doc->CanTogglePrintableBackdrop(&checked);
    EXPECT_NE(checked, printable);

    // Without a selection the command reaches the backdrop.
    tool->DeselectAll(false);
    ASSERT_TRUE(doc->CanToggleBackdrop(&checked));
    EXPECT_TRUE(checked);
    doc->ToggleBackdrop();
    EXPECT_EQ(doc->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_FALSE(picture->Block().undeletable || picture->Block().pinned);
    EXPECT_TRUE(picture->Block().selectable);

    tool->SelectFrame(picture, false);
    ASSERT_TRUE(doc->CanToggleFrameFlag(1, &checked));
    EXPECT_FALSE(checked);
    doc->ToggleFrameFlag(1);
    EXPECT_TRUE(picture->Block().pinned);
}

TEST_F(TemplatesTest, ThePageMenuFollowsTheSidesAndTheChangeLayoutCommandAsksFirst)
{
    auto doc = Viewed(CardWithText("Side"), &view1_);
    ASSERT_NE(doc, nullptr);
    QMenu view;
    for (int i = 0; i < 12; ++i)
        view.addAction(QString::number(i));
    EXPECT_EQ(doc->BuildPageMenu(nullptr), 1);
    ASSERT_EQ(doc->BuildPageMenu(&view), 0);
    ASSERT_EQ(view.actions().size(), 9 + (doc->PageGeometry().sides == 2 ? 2 : 1));
    EXPECT_EQ(MenuGetCommandId(view.actions()[9]), kCmdFrontPage);
    CmdUI front(kCmdFrontPage);
    ASSERT_TRUE(doc->OnUpdateCommand(front));
    EXPECT_TRUE(front.checked) << "page 1 is shown";
    doc->ShowSide(1);
    EXPECT_EQ(doc->GetCurrentPage(), 1);

    int32_t id = 0;
    ASSERT_EQ(doc->AddTemplateToWizard("Side", &id), 0);
    auto other = Viewed(NewCardDocument(), &view2_);
    g_layoutTemplate = id;
    const WizardSheetRunner previous = SetWizardSheetRunner(&FinishWithTemplate);
    CardLayoutWizard wizard;
    LayoutWizardHost* previousWizard = SetLayoutWizard(&wizard);
    alerts_.answer(kIdCancel);
    other->ChangeLayoutAndDesign();
    EXPECT_EQ(other->PageManager()->FrameCount(), 0) << "cancelled at the question";
    alerts_.answer(kIdOk);
    other->ChangeLayoutAndDesign();
    EXPECT_EQ(Shapes(*other, true), Shapes(*doc, true));
    EXPECT_EQ(PageOption(*other, 8), uint32_t(id));
    SetLayoutWizard(previousWizard);
    SetWizardSheetRunner(previous);
}

TEST_F(TemplatesTest, ABackdropFileOfTheWizardLoadsAsTheBackdropAndOtherFilesAreRefused)
{
    auto doc = Viewed(CardWithText("Bk"), &view1_);
    ASSERT_NE(doc, nullptr);
    WriteFileBytes(docs_.file("junk.bp"), std::string(300, 'j'));
    EXPECT_EQ(doc->LoadBackdropFromPath(DocPath("junk.bp")), 1);
    EXPECT_EQ(doc->LoadBackdropFromPath(DocPath("missing.bp")), 1);
    EXPECT_EQ(doc->PageManager()->GetBackdropFrame(), nullptr) << "no empty backdrop is left";

    const int32_t group = AddBackdrop(Qt::magenta);
    uint8_t item[kBkItemSize];
    ASSERT_EQ(GetBackdropItem(group, 1, item), 0);
    PathRecord file{};
    ASSERT_EQ(BackdropItemFilePath(item, &file), 0);
    ASSERT_EQ(doc->LoadBackdropFromPath(file), 0);
    auto* backdrop = static_cast<FrameObjImage*>(doc->PageManager()->GetBackdropFrame());
    ASSERT_NE(backdrop, nullptr);
    ASSERT_EQ(backdrop->PrepareImage(0), 0);
    EXPECT_EQ(DibHandleWidth(backdrop->CurrentImage()), 40);
}

TEST_F(TemplatesTest, ABodyWithAFrameTypeNoPageListsIsRefusedWithoutAMessage)
{
    auto doc = Viewed(NewCardDocument(), &view1_);
    ASSERT_NE(doc, nullptr);
    for (uint32_t type : {0u, 8u, 9u, 10u, 19u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> bytes(4 + 4 + 400, 0);
        PutU32LE(bytes.data(), 1);
        PutU32LE(bytes.data() + 4, type);
        Handle body = HandleNew(uint32_t(bytes.size()));
        std::memcpy(HandleData(body), bytes.data(), bytes.size());
        EXPECT_NE(doc->ApplyTemplateBody(body), 0) << type;
        HandleFree(body);
        EXPECT_EQ(doc->PageManager()->FrameCount(), 0) << type;
        EXPECT_EQ(doc->PageManager()->GroupCount(), 0) << type;
    }
    EXPECT_TRUE(alerts_.boxes().empty());
}

TEST_F(TemplatesTest, AWholeSetUpOfAnotherCardSizeKeepsTheBackdropCoveringTheCard)
{
    auto doc = Viewed(NewCardDocument(), &view1_);
    ASSERT_NE(doc, nullptr);
    std::vector<uint8_t> record(doc->DocSetupBlock(), doc->DocSetupBlock() + kDocSetupSize);
    PutU32LE(&record[kDocSetupBackdropId], uint32_t(AddBackdrop(Qt::gray)));
    PutU32LE(&record[kDocSetupBackdropColour], 1);
    PutF64LE(&record[kDocSetupLabelWidth], 320.0);
    PutF64LE(&record[kDocSetupLabelHeight], 200.0);
    ASSERT_EQ(doc->ApplyLayoutAndDesign(record.data(), true), 0);
    FrameObj* backdrop = doc->PageManager()->GetBackdropFrame();
    ASSERT_NE(backdrop, nullptr);
    IntRect bounds;
    backdrop->GetBounds(&bounds, 0, kGeometryCurrent);
    EXPECT_NEAR(bounds.right - bounds.left, 320, 1);
    EXPECT_NEAR(bounds.bottom - bounds.top, 200, 1);
}
