#include "app/tool_bar_buttons.h"

#include <QAction>
#include <QIcon>
#include <QPixmap>
#include <QToolBar>

#include "foundation/cp1252.h"
#include "foundation/string_table.h"
#include "platform/menus.h"
#include "resources/artwork_resources.h"

namespace {

const ToolBarButton kDatabaseButtons[] = {
    {33241, "Find:"}, {0, nullptr},    {33240, nullptr}, {0, nullptr},  {33242, "Sort by:"}, {0, nullptr},
    {33243, nullptr}, {0, nullptr},    {33248, ">"},     {33249, "<"},  {33250, ">|"},       {33251, "|<"},
    {0, nullptr},     {33252, "New"},  {33254, "Del"},   {0, nullptr},  {33255, "Insert Field:"},
    {0, nullptr},     {33256, nullptr},
};

const ToolBarButton kTextButtons[] = {
    {33257, nullptr}, {0, nullptr},     {33258, nullptr},   {0, nullptr},      {33260, "B"},
    {33261, "I"},     {33262, "U"},     {0, nullptr},       {33263, "Left"},   {33264, "Ctr"},
    {33265, "Right"}, {33266, "Just"},  {0, nullptr},       {33267, "1x"},     {33268, "2x"},
    {0, nullptr},     {57635, "Cut"},   {57634, "Copy"},    {57637, "Paste"},  {0, nullptr},
    {33273, "Grp"},   {33274, "Ungrp"}, {33276, "Back"},    {33278, "Front"},  {0, nullptr},
    {34045, "Wiz"},
};

const ToolBarButton kToolButtons[] = {
    {33284, "Obj"},  {33285, "Text"}, {33286, "FText"}, {33287, "Power"}, {33288, "Hand"}, {33289, "Rect"},
    {33290, "RRect"}, {33291, "Oval"}, {33292, "Star"},  {33293, "Line"},  {33294, "Arc"},  {33281, "QCard"},
    {32834, "Pict"}, {33295, "Rot"},  {33296, "Zoom"},  {33297, "Prev"},
};

}  // namespace

std::vector<ToolBarButton> ToolBarResource(int32_t resourceId)
{
    std::vector<ToolBarButton> buttons;
    switch (resourceId) {
    case kToolBarDatabase:
        buttons.assign(std::begin(kDatabaseButtons), std::end(kDatabaseButtons));
        break;
    case kToolBarText:
        buttons.assign(std::begin(kTextButtons), std::end(kTextButtons));
        break;
    case kToolBarDrawTools:
        buttons.assign(std::begin(kToolButtons), std::end(kToolButtons));
        break;
    default:
        return {};
    }
    int32_t image = 0;
    for (ToolBarButton& b : buttons) {
        b.bar = resourceId;
        b.image = b.id != 0 ? image++ : -1;
    }
    return buttons;
}

QIcon ToolBarButtonIcon(int32_t bar, int32_t image)
{
    if (image < 0)
        return QIcon();
    const QImage strip = LoadResourceBitmap(bar);
    const QRect cell(image * kToolBarImageWidth, 0, kToolBarImageWidth, kToolBarImageHeight);
    if (strip.isNull() || !strip.rect().contains(cell))
        return QIcon();
    return QIcon(QPixmap::fromImage(KeyOutButtonFace(strip.copy(cell))));
}

void CommandStrings(uint32_t id, QString* prompt, QString* tip)
{
    const char* text = LookupString(int32_t(id));
    const QString all = Cp1252ToQString(text ? text : "");
    const qsizetype newline = all.indexOf('\n');
    if (prompt)
        *prompt = newline < 0 ? all : all.left(newline);
    if (tip)
        *tip = newline < 0 ? QString() : all.mid(newline + 1);
}

void AddToolBarGap(QToolBar* bar, int32_t width)
{
    auto* gap = new QWidget(bar);
    gap->setFixedWidth(width);
    bar->addWidget(gap);
}

QAction* AddCommandButton(QToolBar* bar, const ToolBarButton& button)
{
    QAction* action = bar->addAction(QString::fromLatin1(button.label ? button.label : ""));
    MenuSetCommandId(action, button.id);
    action->setIcon(ToolBarButtonIcon(button.bar, button.image));
    // The pictures are drawn for their own size: scaled they blur.
    bar->setIconSize(QSize(kToolBarImageWidth, kToolBarImageHeight));
    QString prompt;
    QString tip;
    CommandStrings(button.id, &prompt, &tip);
    action->setStatusTip(prompt);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    return action;
}
