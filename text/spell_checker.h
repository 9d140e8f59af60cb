// The spelling checker: walks the words of the story being edited, looks
// each up in the spelling dictionary and shows the first one missing from
// it as the text selection, for the spelling dialog to replace or skip.
#pragma once

#include <cstdint>

#include "foundation/pstr.h"

class TextContext;

// The Text > Spelling commands.
enum class SpellMode : int32_t {
    kParagraph = 0,  // the caret's paragraph from its start
    kStory = 1,      // every paragraph of the story from the first
    kWord = 2,       // the word at or after the caret, shown even when it is spelt right
};

// One check over the text the engine is bound to: its range of paragraphs,
// and the word found last (in the paragraph at hand).
class SpellCheck {
public:
    SpellCheck(TextContext* ctx, SpellMode mode);
    SpellCheck(const SpellCheck&) = delete;
    SpellCheck& operator=(const SpellCheck&) = delete;

    SpellMode Mode() const { return mode_; }
    TextContext* Context() const { return ctx_; }

    // The range by the mode; its first paragraph becomes current and,
    // except for a single word, the caret goes to its start.
    void Begin();
    // From the caret on: the next word to show (one missing from the
    // dictionary, or in word mode any word) is selected in the text, its
    // suggestions made, and 0 returned; -1 when the range has no more.
    // Every word looked at ends after the caret, so each call moves on.
    int32_t FindNextMisspelled();
    // The word shown last (PStr) and where it stands.
    const uint8_t* Word() const { return word_; }
    int32_t Paragraph() const { return paragraph_; }
    int32_t WordStart() const { return start_; }
    int32_t WordEnd() const { return end_; }
    // Words looked up so far.
    uint16_t WordsChecked() const { return wordsChecked_; }

    // Replaces the word shown last with text (PStr) in the format of the
    // word's first character; the caret goes behind it and the frame is
    // laid out and drawn again. False, with the text unchanged, when the
    // paragraph would grow too large (after the alert), the word lies in a
    // merge field's text (a beep) or memory ran out.
    bool ReplaceWord(const uint8_t* text);
    // Removes the word's highlight and the frame's selection.
    void ClearWordSelection();
    // The frame is laid out and drawn again, the rest of its chain and page
    // after it.
    void Redraw();

private:
    void SelectWord();

    TextContext* ctx_;
    SpellMode mode_;
    int32_t paragraph_ = 0;
    int32_t last_ = -1;
    // Where the search goes on in the paragraph at hand.
    int32_t caret_ = 0;
    uint16_t wordsChecked_ = 0;
    int32_t start_ = 0;
    int32_t end_ = 0;
    PStr word_{};
    bool shown_ = false;
};

// The command: opens the dictionary (the one chosen last, at first the
// default one; a beep when none opens), checks the range of the mode with
// the spelling dialog, or tells "Spell Check complete." when nothing is to
// be shown, then closes the dictionary (written back when changed) and
// draws the frame again. False when no dictionary could be opened or no
// frame is in edit.
bool SpellCheckText(TextContext* ctx, SpellMode mode);
