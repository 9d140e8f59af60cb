// Opens arbitrary bytes as a card document file, as the program opens a
// file the user chose: the header and every place it names are checked,
// the body is copied into the swap file and the sections are read. A
// document that opens gets its first view update and is painted; then it
// is saved under another name, and what was saved must open again.
#include <unistd.h>

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
#include "frames/curr_page_mng.h"
#include "platform/dc.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartCardFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    static const std::string folder = ProgramFolder("card");
    if (size > (1 << 20))
        return 0;
    WriteWholeFile(folder + "/in.lqx", data, size);
    const PathRecord input = PathOf(folder + "/in.lqx");

    auto doc = OpenCardDocument(input);
    if (!doc)
        return 0;
    ImageView view;
    doc->SetView(&view);
    doc->InitialUpdate();
    doc->PageManager()->ResetFrameStates(1);
    doc->PageManager()->DrawAll(view.GetViewDC(), 1);
    const PathRecord output = PathOf(folder + "/out.lqx");
    const bool saved = doc->DoSave(&output);
    doc.reset();
    if (saved)
        Check(OpenCardDocument(output) != nullptr);
    return 0;
}
