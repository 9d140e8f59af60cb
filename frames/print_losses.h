// What the labels of a print job lost: barcodes whose data could not be
// encoded (they print the failure box), barcodes the label's edge cut, and
// text that did not fit its frame. The frames note each as they print; the print job takes the tally
// when it starts and when it ends, and says once what its labels lost, so
// that a sheet of failure boxes or of cut addresses does not go out
// without a word.
//
// Used from the one thread that prints.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct PrintLosses {
    // The barcodes that printed their failure box; the first one's data
    // (as stored, Windows-1252) and why it does not encode.
    int32_t barcodes = 0;
    int32_t barcodeRecord = 0;
    std::string barcodeValue;
    std::string barcodeWhy;
    // The barcodes that ran past their label and were cut; the first one's
    // data (Windows-1252).
    int32_t cutBarcodes = 0;
    int32_t cutRecord = 0;
    std::string cutValue;
    // The labels on which a frame's text did not all fit; the first one's
    // frame, named by the text it begins with (Windows-1252).
    int32_t textLabels = 0;
    int32_t textRecord = 0;
    std::string textFrame;
    // The first one lost lines of a Quick Card, which the label's edge cut.
    bool textQuickCard = false;
};

// The label about to be printed shows the database record of this number
// (from 1), or 0 when the job prints the card without a database.
void NotePrintedLabel(int32_t record);
void NoteBarcodeNotPrinted(const std::string& value, const std::string& why);
void NoteBarcodeCut(const std::string& value);
// `frameBeginning` names the frame; it is asked only for the job's first
// label that lost text, the one the tally names.
void NoteTextCutOff(const std::function<std::string()>& frameBeginning);
// Lines of a Quick Card the label's edge cut, counted with the text above.
void NoteQuickCardCutOff();

// The tally since the last call, which starts it again.
PrintLosses TakePrintLosses();
