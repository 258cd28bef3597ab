// Layers (optional content) and document scripts: recorded while the
// document is drawn, written by the page end and the document end.
#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/growth.h"
#include "pdf/core/text_utils.h"

void PdfWriter::BeginLayer(std::string_view Layer, bool StartState, bool ShowInList) {
    // A layer is known by its name whatever its letter case; the name is
    // kept as it was first given.
    std::string key = pdf::upper_case(Layer);
    std::int32_t k = 0;
    if (const auto known = LayerNumbers.find(key); known != LayerNumbers.end()) {
        k = known->second;
    } else {
        if (LayerCount == 2147483647) RaiseError(6, "BeginLayer", pdf::error_text(6));
        LayerCount += 1;
        pdf::make_room(LayerTable, LayerCount, MemoryFactor);
        LayerRecord& layer = LayerTable[static_cast<std::size_t>(LayerCount)];
        layer.Name = std::string(Layer);
        layer.StartState = StartState;
        layer.ShowInList = ShowInList;
        k = LayerCount;
        LayerNumbers.emplace(std::move(key), k);
    }
    PutContent("/OC /_LAY_" + std::to_string(k) + " BDC");
    OpenMark(LayerMark);
}

void PdfWriter::EndLayer() {
    // An "EMC" without its "BDC" in the same content is an error readers
    // report: an end with no layer begun there writes nothing.
    if (CloseMark(LayerMark)) PutContent("EMC");
}

void PdfWriter::OnDocEvent(std::int32_t EventType, std::string_view Script, bool ResetScript) {
    std::string* item = nullptr;
    switch (EventType) {
        case 0: item = &PageOpenScript; break;
        case 1: item = &PageCloseScript; break;
        case 2: item = &OpenActionScript; break;
        case 3: item = &WillCloseScript; break;
        case 4: item = &WillPrintScript; break;
        case 5: item = &WillSaveScript; break;
        case 6: item = &DidPrintScript; break;
        case 7: item = &DidSaveScript; break;
        case 8: item = &DocumentScript; break;
        default: return;
    }
    if (ResetScript) item->assign(Script);
    else item->append(Script);
    if (EventType >= 3 && EventType <= 7) RequireVersion(1);
}
