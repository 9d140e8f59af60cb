#include "card_builder.h"
#include "card_sample.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "barcode/barcode_record.h"
#include "carddoc/labels_doc.h"
#include "database/field_table.h"
#include "foundation/pstr.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_star.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/paragraph_storage.h"
#include "frames/story_store.h"
#include "frames/style_run_format.h"
#include "frames/style_runs.h"
#include "frames/text_buffer.h"
#include "text/frame_flow.h"
#include "text/text_context.h"

// The cards' Code 39 barcode of "TS-0042".
static bool CardCode39(CLabelsDoc& doc, const IntRect& rect, double barHeight)
{
    return CardBarcode(doc, rect, kBarcodeCode39, "TS-0042", barHeight) != nullptr;
}

bool BuildSampleCard(CLabelsDoc& doc)
{
    const IntRect page = doc.PageGeometry().slots[0];

    // The logo: a dark blue disc with an orange star on it.
    if (!CardShape(doc, kFrameEllipse, OnCard(page, 14, 14, 54, 54), kCardDarkBlue, kCardDarkBlue))
        return false;
    FrameObj* star = CardShape(doc, kFrameStar, OnCard(page, 20, 20, 48, 48), kCardOrange, kCardOrange);
    if (!star)
        return false;
    static_cast<FrameObjStar*>(star)->SetStarParams(StarParams{5, 0, 0.5});
    // A rule under the company line.
    if (!CardShape(doc, kFrameRect, OnCard(page, 62, 42, 238, 45), kCardOrange, kCardOrange))
        return false;

    const bool text =
        CardTextBox(doc, OnCard(page, 62, 16, 240, 40), {{{{"", kFieldCompany}}, 14, kCardBold, kCardDarkBlue}}) &&
        CardTextBox(doc, OnCard(page, 14, 62, 180, 94),
                {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 11, kCardBold, kCardBlack},
                 {{{"", kFieldTitle}}, 8, kCardItalic, kCardDarkGray}}) &&
        CardTextBox(doc, OnCard(page, 14, 96, 168, 136),
                {{{{"", kFieldAddress1}}, 7, 0, kCardBlack},
                 {{{"", kFieldCity}, {", ", 0}, {"", kFieldState}, {" ", 0}, {"", kFieldZipCode}}, 7, 0, kCardBlack},
                 {{{"Tel. ", 0}, {"", kFieldPhone1}, {"  ", 0}, {"", kFieldEMail}}, 7, 0, kCardBlack}});
    if (!text)
        return false;

    return CardCode39(doc, OnCard(page, 172, 104, 240, 132), 20.0);
}

bool BuildTurnedTextCard(CLabelsDoc& doc, const std::string& logo, const TurnedCardStyle& style)
{
    const IntRect page = doc.PageGeometry().slots[0];
    if (!logo.empty() && !CardPicture(doc, OnCard(page, 10, 100, 44, 134), logo))
        return false;
    if (!CardShape(doc, kFrameRect, OnCard(page, 110, 40, 220, 43), kCardOrange, kCardOrange))
        return false;
    if (!CardTextBox(doc, OnCard(page, 110, 14, 220, 38),
                     {{{{"", kFieldCompany}}, 14, kCardBold, kCardDarkBlue, kAlignLeft, style.face}}))
        return false;
    FrameObj* name = CardTextBox(doc, OnCard(page, 110, 48, 220, 80),
                                 {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 11, kCardBold, kCardBlack,
                                   kAlignLeft, style.face},
                                  {{{"", kFieldTitle}}, 8, kCardItalic, kCardDarkGray, kAlignLeft, style.face}});
    if (!name)
        return false;
    if (style.nameAngle != 0)
        name->SetGeometryField(4, style.nameAngle);
    // The phone line three times, each turned about its top left corner
    // over space of its own: by 30 degrees on the left, by 90 up the right
    // edge and by 45 at the bottom.
    struct Turned {
        IntPoint at;
        int16_t angle;
    };
    const Turned turned[] = {{{6, 70}, style.angles[0]}, {{224, 140}, style.angles[1]}, {{50, 140}, style.angles[2]}};
    for (const Turned& t : turned) {
        FrameObj* f = CardTextBox(doc, OnCard(page, t.at.x, t.at.y, t.at.x + 110, t.at.y + 24),
                                  {{{{"Tel. ", 0}, {"", kFieldPhone1}}, style.phoneSize, 0, kCardBlack, kAlignLeft, style.face}});
        if (!f)
            return false;
        f->SetGeometryField(4, t.angle);
    }
    return CardCode39(doc, OnCard(page, 150, 108, 212, 134), 18.0);
}

bool BuildPictureCard(CLabelsDoc& doc, const std::string& picture)
{
    const IntRect page = doc.PageGeometry().slots[0];
    return CardPicture(doc, OnCard(page, 8, 8, 152, 104), picture) &&
           CardTextBox(doc, OnCard(page, 160, 10, 248, 104),
                       {{{{"", kFieldCompany}}, 11, kCardBold, kCardDarkBlue},
                        {{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 9, 0, kCardBlack},
                        {{{"", kFieldAddress1}}, 8, 0, kCardBlack},
                        {{{"", kFieldCity}, {" ", 0}, {"", kFieldZipCode}}, 8, 0, kCardBlack}});
}

bool BuildAngledCard(CLabelsDoc& doc, int16_t angle, const std::string& picture)
{
    const IntRect page = doc.PageGeometry().slots[0];
    std::vector<FrameObj*> turned;
    if (!picture.empty()) {
        turned.push_back(CardPicture(doc, OnCard(page, 100, 55, 150, 89), picture));
    } else {
        turned.push_back(CardTextBox(doc, OnCard(page, 60, 72, 108, 88), {{{{"ACCESS", 0}}, 7, 0, kCardBlack}}));
        turned.push_back(CardTextBox(doc, OnCard(page, 186, 72, 296, 112), {{{{"ACCESS", 0}}, 14, 0, kCardBlack}}));
    }
    for (FrameObj* f : turned) {
        if (!f)
            return false;
        f->SetGeometryField(4, angle);
    }
    return true;
}

bool BuildSizesCard(CLabelsDoc& doc)
{
    const IntRect page = doc.PageGeometry().slots[0];
    return CardTextBox(doc, OnCard(page, 8, 2, 160, 46),
                       {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 9, 0, kCardBlack},
                        {{{"", kFieldAddress1}}, 9, 0, kCardBlack},
                        {{{"", kFieldZipCode}, {" ", 0}, {"", kFieldCity}}, 9, 0, kCardBlack}}) &&
           CardTextBox(doc, OnCard(page, 160, 2, 250, 16), {{{{"", kFieldCompany}}, 6, 0, kCardBlack}}) &&
           CardTextBox(doc, OnCard(page, 160, 16, 250, 40), {{{{"", kFieldCountry}}, 12, 0, kCardBlack}}) &&
           CardTextBox(doc, OnCard(page, 8, 44, 244, 144), {{{{"", kFieldFirstName}}, 72, 0, kCardBlack}});
}

bool BuildBadgeCard(CLabelsDoc& doc)
{
    const IntRect page = doc.PageGeometry().slots[0];
    FrameObj* photo = doc.NewFrame(kFramePicture);
    if (!photo)
        return false;
    photo->SetFromRect(OnCard(page, 8, 8, 80, 104));
    return CardTextBox(doc, OnCard(page, 92, 20, 248, 104),
                       {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 14, kCardBold, kCardBlack},
                        {{{"", kFieldTitle}}, 10, kCardItalic, kCardDarkGray},
                        {{{"", kFieldCompany}}, 11, kCardBold, kCardDarkBlue}});
}

bool BuildCrowdedCard(CLabelsDoc& doc, const std::string& picture)
{
    const IntRect page = doc.PageGeometry().slots[0];
    if (!CardPicture(doc, OnCard(page, 4, 4, 40, 40), picture))
        return false;
    // 448 more in a grid of 7-point cells: a text box of a field in every
    // eighth, small squares in the rest.
    const uint16_t fields[] = {kFieldFirstName, kFieldLastName, kFieldCity, kFieldZipCode};
    for (int i = 0; i < 448; ++i) {
        const int32_t x = 20 + (i % 32) * 7, y = 44 + (i / 32) * 7;
        const IntRect cell = OnCard(page, x, y, x + 6, y + 6);
        const bool made = i % 8 == 0
                              ? CardTextBox(doc, cell, {{{{"", fields[(i / 8) % 4]}}, 4, 0, kCardBlack}}) != nullptr
                              : CardShape(doc, kFrameRect, cell, kCardOrange, kCardDarkBlue) != nullptr;
        if (!made)
            return false;
    }
    return true;
}
