// What the new-document wizard's pages and the setup sheet's pages share:
// a page of a dialog template, whose controls are placed in dialog units
// and found by their ids, and which is made on its first show.
#pragma once

#include <cstdint>
#include <map>

#include <QRect>
#include <QString>
#include <QWidget>

class QLabel;

class CTemplatePage : public QWidget {
public:
    CTemplatePage(int32_t dialogId, const char* caption);

    int32_t DialogId() const { return dialogId_; }
    const QString& Caption() const { return caption_; }
    bool Created() const { return created_; }

    // The page's window is made on its first show: its controls, then its
    // initialisation.
    void EnsureCreated();

    // A control of the page by its id; null when it has none.
    QWidget* Control(int32_t id) const;
    template <typename T>
    T* Item(int32_t id) const
    {
        return dynamic_cast<T*>(Control(id));
    }

protected:
    virtual void BuildControls() = 0;
    virtual bool OnInitDialog() = 0;

    // Puts a control at a place of the template (dialog units) under an id
    // (-1 for a static without one).
    template <typename T>
    T* Place(T* control, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height)
    {
        PlaceWidget(control, id, x, y, width, height);
        return control;
    }
    QLabel* AddLabel(const char* text, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    // A frame placeholder (a preview's place).
    QWidget* AddFrame(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);

    // The page's pixels of a rectangle of the template.
    virtual QRect TemplateRect(int32_t x, int32_t y, int32_t width, int32_t height) const = 0;
    // A control has been placed under an id.
    virtual void ControlPlaced(QWidget* /*control*/) {}
    const std::map<int32_t, QWidget*>& Controls() const { return controls_; }

private:
    void PlaceWidget(QWidget* control, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);

    int32_t dialogId_;
    QString caption_;
    bool created_ = false;
    std::map<int32_t, QWidget*> controls_;
};
