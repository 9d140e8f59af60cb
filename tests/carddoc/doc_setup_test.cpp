// Putting a label layout into a card document: the page rebuilt for the
// new card, the layout stored twice in step, and the Document Setup
// command with its dialog taken and cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRadioButton>
#include <cstring>

#include "card_test_support.h"
#include "dialogs/label_type_dlg.h"
#include "foundation/byte_order.h"
#include "records/label_stock.h"
#include "support/modal_answer.h"

namespace {

class DocSetupTest : public CardDocTest {
protected:
    std::unique_ptr<CLabelsDoc> NewCard()
    {
        auto doc = NewCardDocument();
        EXPECT_NE(doc, nullptr);
        if (doc) {
            doc->InitialUpdate();
            doc->SetModified(false);
        }
        return doc;
    }
    static bool LayoutCopiesAgree(CLabelsDoc& doc)
    {
        return std::memcmp(doc.LabelLayout(), doc.DocSetupBlock() + kDocSetupLabelType, kLabelTypeSize) == 0;
    }
    // Answers the next modal dialog: with change run on it first, then OK;
    // or Cancel.
    void AnswerDialog(bool ok, std::function<void(CDlgLabelType*)> change = {})
    {
        answer_ = std::make_unique<ModalAnswer>([ok, change, changed = false](QWidget* window) mutable {
            auto* dialog = dynamic_cast<CDlgLabelType*>(window);
            ASSERT_NE(dialog, nullptr) << window->metaObject()->className();
            if (change && !changed)
                change(dialog);
            changed = true;
            if (ok)
                dialog->accept();
            else
                dialog->reject();
        });
    }
    std::unique_ptr<ModalAnswer> answer_;
};

TEST_F(DocSetupTest, ALayoutResetsTheFirstPageAndRebuildsTheCard)
{
    auto doc = NewCard();
    ASSERT_NE(doc, nullptr);
    doc->PageGeometry().firstPage = 5;
    LabelTypeRecord layout;
    GetBuiltinLabelType(&layout, 1);
    layout.cardWidth = 200;
    layout.cardHeight = 100;
    uint8_t bytes[kLabelTypeSize];
    LabelTypeEncode(layout, bytes);
    doc->ApplyDocSetup(bytes);
    EXPECT_EQ(doc->PageGeometry().firstPage, 1);
    EXPECT_EQ(doc->PageGeometry().cardWidth, 200.0);
    EXPECT_TRUE(LayoutCopiesAgree(*doc));
    EXPECT_FALSE(doc->IsModified()) << "applying alone marks nothing";

    doc->AfterDocSetup();
    EXPECT_TRUE(doc->IsModified());
    const IntRect card = doc->PageGeometry().slots[0];
    EXPECT_EQ(card.right - card.left, 200);
    EXPECT_EQ(card.bottom - card.top, 100);
    EXPECT_EQ(doc->GetCurrentPage(), 1);
}

TEST_F(DocSetupTest, DocumentSetupAppliesTheDialogsLayoutOrNothing)
{
    auto doc = NewCard();
    ASSERT_NE(doc, nullptr);
    uint8_t before[kLabelTypeSize];
    doc->GetLabelLayout(before);

    AnswerDialog(false, [](CDlgLabelType* dialog) { dialog->WidthEdit()->setValue(dialog->WidthEdit()->value() / 2); });
    doc->DoDocumentSetup();
    EXPECT_EQ(std::memcmp(doc->LabelLayout(), before, kLabelTypeSize), 0);
    EXPECT_FALSE(doc->IsModified());

    // A layout left at "Any" keeps fixing neither orientation nor paper,
    // and the document's own page set-up stays as it was.
    doc->SetAlternatePaper(7, 9);
    const double width = doc->PageGeometry().cardWidth;
    AnswerDialog(true, [](CDlgLabelType* dialog) { dialog->WidthEdit()->setValue(dialog->WidthEdit()->value() / 2); });
    doc->DoDocumentSetup();
    EXPECT_TRUE(doc->IsModified());
    EXPECT_NEAR(doc->PageGeometry().cardWidth, width / 2, 0.01);
    EXPECT_TRUE(LayoutCopiesAgree(*doc));
    EXPECT_EQ(GetU32LE(doc->LabelLayout() + kLabelTypeOrientationOffset), 0u);
    EXPECT_EQ(GetU32LE(doc->LabelLayout() + kLabelTypePaperOffset), 0u);
    uint32_t orientation = 1, paper = 1;
    doc->GetAlternatePaper(&orientation, &paper);
    EXPECT_EQ(orientation, 7u);
    EXPECT_EQ(paper, 9u);

    // The paper and orientation chosen in the dialog are the layout's own,
    // which the document file keeps.
    AnswerDialog(true, [](CDlgLabelType* dialog) {
        dialog->PaperCombo()->setCurrentIndex(2);
        dialog->OrientationButton(1)->click();
    });
    doc->DoDocumentSetup();
    EXPECT_EQ(GetU32LE(doc->LabelLayout() + kLabelTypeOrientationOffset), 1u);
    EXPECT_EQ(GetU32LE(doc->LabelLayout() + kLabelTypePaperOffset), 2u);
    EXPECT_TRUE(LayoutCopiesAgree(*doc));
    doc->GetAlternatePaper(&orientation, &paper);
    EXPECT_EQ(orientation, 7u);
    EXPECT_EQ(paper, 9u);

    // A layout that fixes its orientation keeps the dialog's choice itself
    // and leaves the alternate pair alone.
    uint8_t fixed[kLabelTypeSize];
    doc->GetLabelLayout(fixed);
    PutU32LE(fixed + kLabelTypeOrientationOffset, 2);
    doc->ApplyDocSetup(fixed);
    doc->SetAlternatePaper(7, 9);
    AnswerDialog(true);
    doc->DoDocumentSetup();
    EXPECT_EQ(GetU32LE(doc->LabelLayout() + kLabelTypeOrientationOffset), 2u);
    doc->GetAlternatePaper(&orientation, &paper);
    EXPECT_EQ(orientation, 7u);
    EXPECT_EQ(paper, 9u);
}

}  // namespace
