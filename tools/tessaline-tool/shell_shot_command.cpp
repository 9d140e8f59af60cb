// shell-shot OUT.png: a picture of the main window with a card window and
// a database window open, for looking at. The documents are stand-ins that
// draw a blank card and an empty form; the profile and the program folder
// are temporary, so the user's own are never touched.

#include <memory>
#include <string>

#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>

#include "app/card_app.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/shell_document.h"
#include "tool_command.h"
#include "widget_shot.h"

namespace {

class CardPage : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(160, 160, 160));
        const QRect card(30, 30, 252, 144);
        painter.fillRect(card.translated(4, 4), QColor(90, 90, 90));
        painter.fillRect(card, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(card);
        painter.drawText(card.adjusted(16, 16, -16, -16), Qt::AlignLeft | Qt::AlignTop, "Business card");
    }
};

class ShotDocument : public ShellDocument {
public:
    ShotDocument(std::string title, bool database) : title_(std::move(title)), database_(database) {}
    std::string Title() const override { return title_; }
    std::string PathName() const override { return {}; }
    bool IsModified() const override { return false; }
    bool Save() override { return true; }
    QWidget* CreateView(int32_t pane, QWidget* parent) override
    {
        if (!database_)
            return new CardPage(parent);
        if (pane == 0) {
            auto* list = new QListWidget(parent);
            list->addItems({"Abbott", "Barros", "Chen", "Duval"});
            return list;
        }
        auto* form = new QWidget(parent);
        auto* layout = new QFormLayout(form);
        for (const char* field : {"First Name", "Last Name", "Company", "City"})
            layout->addRow(field, new QLineEdit(form));
        return form;
    }

private:
    std::string title_;
    bool database_;
};

class ShotFactory : public DocumentFactory {
public:
    ShotFactory(const char* name, bool database) : name_(name), database_(database) {}
    std::unique_ptr<ShellDocument> NewDocument() override
    {
        return std::make_unique<ShotDocument>(name_ + std::to_string(++count_), database_);
    }
    std::unique_ptr<ShellDocument> OpenDocument(const std::string&) override { return nullptr; }

private:
    std::string name_;
    bool database_;
    int count_ = 0;
};

int RunShellShot(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: shell-shot OUT.png");
    ShotProgram program;
    if (!program.Start(900, 600))
        return 1;
    CCardApp& cardApp = program.App();
    CMainFrame* frame = program.Frame();
    DocManager& docs = cardApp.Documents();
    docs.FindTemplate("TessalineDB")->SetFactory(std::make_unique<ShotFactory>("Database", true));
    docs.FindTemplate("TessalineLB")->SetFactory(std::make_unique<ShotFactory>("Card", false));
    cardApp.CreateNewDatabase(true);
    cardApp.CreateNewLabelDocument(nullptr, true);
    QList<QMdiSubWindow*> windows = frame->MdiArea()->subWindowList();
    if (windows.size() == 2) {
        windows[0]->setGeometry(330, 10, 520, 300);
        windows[1]->setGeometry(10, 40, 420, 320);
        frame->MdiArea()->setActiveSubWindow(windows[1]);
    }
    if (!program.SaveFrame(args[0], 5))
        return ToolFail("cannot write " + args[0]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("shell-shot", "shell-shot OUT.png", RunShellShot);
