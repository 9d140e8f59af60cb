// Reads arbitrary bytes as a document holding a story section: a u32 offset
// and u32 length of the story array, then the document's bytes, which also
// go into the swap file as opening a document does. Every story that can be
// read is turned into plain text, and the stories are saved into a new
// document. Opened again, that document holds every story, each with the
// text the open document itself gives after the save; and the save changes
// no story's text that it could not have changed.
//
// Every copy in the swap file is owned by one record, and a save rewrites
// each loaded story's paragraph array in its own stretch (the array is
// always rewritten, and its records never carry the loaded and changed bits
// they may have in a file). A document that a save wrote never has two
// copies sharing bytes, but arbitrary bytes can: a paragraph's text may lie
// inside a paragraph array, or two stories' arrays may overlap. The text
// read from such bytes changes with that rewrite, as it would with any
// edit, so only stories none of whose stretches share bytes with another
// array's stretch must keep the text they had before the save. Two stories
// naming the very same stretch read the same bytes and write the same bytes
// back.
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "frame_fuzz.h"
#include "frames/record_header_format.h"

namespace {

// Where a copy lies in the swap file.
struct Stretch {
    uint32_t position = 0;
    uint32_t size = 0;
    bool operator==(const Stretch&) const = default;
};

Stretch StretchOf(const uint8_t* header) { return {HeaderPosition(header), HeaderSize(header)}; }

bool Overlap(Stretch a, Stretch b)
{
    return a.size && b.size && uint64_t(a.position) < uint64_t(b.position) + b.size &&
           uint64_t(b.position) < uint64_t(a.position) + a.size;
}

struct Story {
    Stretch array;
    std::vector<Stretch> paragraphs;
    bool readable = false;
    std::string text;
};

// Whether the save's rewrite of some loaded story's paragraph array can
// reach bytes this story's text was read from.
bool SharesRewrittenBytes(const Story& story, const std::map<uint16_t, Story>& loaded)
{
    for (const auto& [id, other] : loaded) {
        if (Overlap(story.array, other.array) && !(story.array == other.array))
            return true;
        for (const Stretch& p : story.paragraphs) {
            if (Overlap(p, other.array))
                return true;
        }
    }
    return false;
}

class Document : public SwapFileDocument {
public:
    // Opens the document in file; false when its story section is refused.
    bool Open(FileHandle file, uint32_t offset, uint32_t length)
    {
        const std::vector<uint8_t> bytes = FileBytes(file);
        if (!bytes.empty())
            Check(swap.WriteAt(0, uint32_t(bytes.size()), bytes.data()) == 0);
        return offset <= uint32_t(INT32_MAX) && stories.ReadStore(file, int32_t(offset), length) == 0;
    }
    // Every story that can be loaded, with its plain text when that can be
    // read.
    std::map<uint16_t, Story> Texts()
    {
        std::map<uint16_t, Story> out;
        for (int32_t i = 0; i < stories.Count() && i < 32; ++i) {
            const uint16_t id = HeaderId(stories.RecordPtr(i));
            if (stories.BindStory(id) != 0)
                continue;
            Story& story = out[id];
            story.array = StretchOf(stories.Current());
            const TextBuffer& buffer = stories.Buffer();
            for (int32_t p = 0; p < buffer.Count(); ++p)
                story.paragraphs.push_back(StretchOf(buffer.RecordPtr(p)));
            Handle h = nullptr;
            if (stories.Buffer().GetPlainText(&h) == 0) {
                story.readable = true;
                story.text.assign(reinterpret_cast<char*>(HandleData(h)), HandleGetSize(h));
            }
            HandleFree(h);
        }
        return out;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    static FileHandle in = Scratch("stories-in");
    static FileHandle out = Scratch("stories-out");
    if (size < 8 || size > (1 << 16))
        return 0;
    FileSetSize(in, 0);
    FileSeek(in, kSeekStart, 0);
    FileWrite(in, data + 8, uint32_t(size - 8));

    Document first;
    if (!first.Open(in, GetU32LE(data), GetU32LE(data + 4)))
        return 0;
    const std::map<uint16_t, Story> before = first.Texts();

    FileSetSize(out, 0);
    FileSeek(out, kSeekStart, 0);
    const int32_t saved = first.stories.WriteStore(out, 0);
    if (saved != 0)
        return 0;
    const std::map<uint16_t, Story> after = first.Texts();
    Document second;
    Check(second.Open(out, first.stories.WindowPosition(), first.stories.WindowSize()));
    const std::map<uint16_t, Story> again = second.Texts();
    for (const auto& [id, story] : after) {
        if (!story.readable)
            continue;
        auto it = again.find(id);
        Check(it != again.end() && it->second.readable && it->second.text == story.text);
    }
    for (const auto& [id, story] : before) {
        if (!story.readable)
            continue;
        auto it = again.find(id);
        Check(it != again.end() && it->second.readable);
        if (!SharesRewrittenBytes(story, before))
            Check(it->second.text == story.text);
    }
    return 0;
}
