// FontSizeComboBox: the font size combo box of the text bar. Enter in its
// edit field is the bar's cue to apply the size: the box reports it and
// the key goes no further (no new item, no dialog closing, no beep).
#pragma once

#include <QComboBox>

class FontSizeComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit FontSizeComboBox(QWidget* parent = nullptr);

Q_SIGNALS:
    // Enter was pressed in the edit field.
    void EnterPressed();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reports an Enter key press and keeps it from going further.
    bool TakeEnter(QEvent* event);
};
