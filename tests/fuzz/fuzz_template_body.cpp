// Applies arbitrary bytes as a template body to a new card document, as
// loading a template file of unknown origin does: the frames it names are
// made and read, then the fonts that follow. Whatever landed on the page
// is drawn, saved as a template body again and that body applied to a
// second document.
#include <unistd.h>

#include <QImage>
#include <cstdlib>
#include <cstring>
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
    static const std::string folder = ProgramFolder("template");
    (void)folder;
    if (size > (1 << 18))
        return 0;
    HandleOwner body(HandleNew(uint32_t(size)));
    Check(body.get() != nullptr);
    if (size)
        std::memcpy(HandleData(body.get()), data, size);

    auto doc = NewCardDocument();
    Check(doc != nullptr);
    ImageView view;
    doc->SetView(&view);
    doc->InitialUpdate();
    doc->ApplyTemplateBody(body.get());
    Check(doc->PageManager()->GroupCount() >= 0);
    doc->PageManager()->ResetFrameStates(1);
    doc->PageManager()->DrawAll(view.GetViewDC(), 1);

    Handle again = nullptr;
    if (doc->BuildTemplateBody(&again) == 0) {
        auto second = NewCardDocument();
        Check(second != nullptr);
        ImageView secondView;
        second->SetView(&secondView);
        second->InitialUpdate();
        second->ApplyTemplateBody(again);
        second->SetView(nullptr);
    }
    HandleFree(again);
    doc->SetView(nullptr);
    return 0;
}
