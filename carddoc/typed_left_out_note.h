// TypedLeftOutNote: characters typed into a card's text that its code page
// lacks are left out; the user is told how many once a burst of typing
// ends, not at every key, whose note would stop the typing.
#pragma once

#include <cstdint>

#include <QObject>

class QTimer;

class TypedLeftOutNote : public QObject {
public:
    explicit TypedLeftOutNote(QObject* parent);

    // A key press went to the text; leftOut of its characters were not
    // taken. Any press while some are counted keeps the burst going.
    void KeyPressed(int32_t leftOut);

private:
    void Say();

    QTimer* quiet_;
    int32_t count_ = 0;
};
