// Opens arbitrary bytes as a card document file, as the program opens a
// file the user chose: the header and every place it names are checked,
// the body is copied into the swap file and the sections are read. A
// document that opens gets its first view update and is painted; then it
// is saved under another name, and what was saved must open again.
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "carddoc/card_view_services.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "platform/dc.h"

namespace {

class Silent : public AlertSink {
public:
    int32_t MessageBox(const std::string&, const std::string&, uint32_t) override { return kIdOk; }
    void Beep(uint32_t) override {}
};

class ImageView : public CardViewServices {
public:
    ImageView() : image_(320, 240, QImage::Format_RGB32), dc_(Dc::ForImage(&image_)) {}
    Dc* GetViewDC() override { return targets_.empty() ? dc_.get() : targets_.back(); }
    void PushDrawTarget(Dc* dc, uint32_t) override { targets_.push_back(dc); }
    void PopDrawTarget() override { targets_.pop_back(); }
    bool IsScreenTarget() const override { return targets_.empty(); }
    void GetClientRectLogical(IntRect* r) override { *r = IntRect{0, 0, 320, 240}; }
    void InvalidateRect(const IntRect&, bool) override {}
    void InvalidateRgn(const Region&, bool) override {}
    void Refresh() override {}
    void UpdateNow() override {}
    void GetPageRectView(IntRect* r) override { *r = IntRect{0, 0, 320, 240}; }

private:
    QImage image_;
    std::unique_ptr<Dc> dc_;
    std::vector<Dc*> targets_;
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string Folder()
{
    const std::string folder = "/tmp/tessaline-fuzz-card-" + std::to_string(getpid());
    PathRecord r{};
    Check(PathRecordFromPosix(folder + "/", &r) == 0);
    CreateFolder(&r);
    SetProgramFolderForTesting(folder);
    return folder;
}

PathRecord Record(const std::string& path)
{
    PathRecord r{};
    Check(PathRecordFromPosix(path, &r) == 0);
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Silent silent;
    SetAlertSink(&silent);
    static const std::string folder = Folder();
    if (size > (1 << 20))
        return 0;
    const PathRecord input = Record(folder + "/in.lqx");
    FileHandle file = kNoFile;
    Check(FileCreate(&input, kFileWrite, &file) == 0);
    Check(size == 0 || FileWrite(file, data, uint32_t(size)) == 0);
    FileClose(file);

    auto doc = OpenCardDocument(input);
    if (!doc)
        return 0;
    ImageView view;
    doc->SetView(&view);
    doc->InitialUpdate();
    doc->PageManager()->ResetFrameStates(1);
    doc->PageManager()->DrawAll(view.GetViewDC(), 1);
    const PathRecord output = Record(folder + "/out.lqx");
    const bool saved = doc->DoSave(&output);
    doc.reset();
    if (saved)
        Check(OpenCardDocument(output) != nullptr);
    return 0;
}
