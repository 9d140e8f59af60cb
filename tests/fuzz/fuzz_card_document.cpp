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

#include "card_fuzz.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "platform/dc.h"

namespace {

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
    InstallStandInDocumentHost();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentSink silent;
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
