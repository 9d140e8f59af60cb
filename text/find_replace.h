// Find and replace within the story being edited, from the caret onwards,
// never wrapping around and never matching across a paragraph end.
//
// The dialog's settings (514 bytes): 0 PStr text to find (256), 256 PStr
// replacement (256), 512 u8 whole word, 513 u8 ignore case.
#pragma once

#include <cstdint>
#include <string>

class FrameObjText;
class TextContext;

constexpr uint32_t kFindSettingsSize = 514;
// Find and replace leave paragraphs of more characters alone.
constexpr uint32_t kFindParagraphLimit = 65000;

struct FindSettings {
    std::string find;
    std::string replace;
    bool wholeWord = false;
    bool ignoreCase = false;
};

FindSettings ReadFindSettings(const uint8_t* bytes514);
void WriteFindSettings(const FindSettings& settings, uint8_t* bytes514);

enum class FindMode { kFindNext = 0, kReplace = 1, kReplaceAll = 2 };

// Equal bytes, or with ignoreCase equal after folding a-z to A-Z.
bool CharsMatch(uint8_t a, uint8_t b, bool ignoreCase);
// Whether the match in the paragraph at hand stands alone: no digit,
// letter or '@' right before or after it (the paragraph's ends count as
// spaces). Always true with the flag off.
bool IsWholeWord(TextContext* ctx, bool wholeWord);

// Searches from the paragraph at hand and the start character to the end
// of the story; the match (or paragraph -1) goes into the context.
bool FindInStory(TextContext* ctx, int32_t startCharacter, const FindSettings& settings);

// Replaces the frame's selected match with the text; false (after the
// paragraph-size alert) when the paragraph would pass 65000 characters.
// The replacement takes the selection's format.
bool ReplaceSelection(TextContext* ctx, const std::string& replacement);

// The frame of the chain whose laid-out text holds the position, or the
// frame itself when it is not chained.
FrameObjText* FindFrameForPosition(TextContext* ctx, FrameObjText* frame, int32_t character, int32_t paragraph);

// The dialog's buttons. Replace All answers how many matches it replaced.
int32_t ReplaceInText(TextContext* ctx, FindMode mode, const FindSettings& settings);
