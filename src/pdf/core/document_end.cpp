// The document end: everything that could only be written once the whole
// document was known, then the cross-reference table and the trailer.
#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/public_call.h"
#include "pdf/core/replacing_file.h"
#include "pdf/core/write_failure.h"

namespace {

std::string ref(std::int32_t n) { return std::to_string(n) + " 0 R"; }

std::string hex_upper(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

}  // namespace

void PdfWriter::EndDoc() {
    const pdf::PublicCall call("EndDoc");
    // Nothing is written (and no page is begun) when there is no file: the
    // document state stays as it was.
    if (OutputFile == nullptr) RaiseError(52, "EndDoc", pdf::error_text(52));

    // Whatever happens from here, the document ends: on a failure its
    // temporary file goes and the writer is ready for a new document.
    struct EndOfDocument {
        PdfWriter& writer;
        bool completed = false;
        ~EndOfDocument() {
            if (completed) return;
            writer.DiscardOutputFile();
            writer.ResetDocumentState();
        }
    } end_of_document{*this};

    // A recording left open would lose everything drawn into it.
    if (ObjectOpen) EndObject();
    if (TilingOpen) EndTiling();
    if (PageCount == 0) BeginPage();
    if (PageOpen) EndPage();

    std::int32_t outlines = 0;
    if (OutlineCount > 1) outlines = WriteOutlines();

    std::int32_t encryption = 0;
    if (ProtectionOn) encryption = WriteEncryptionDictionary();

    // Document scripts, in this order.
    auto script = [this](const std::string& text) { return text.empty() ? 0 : WriteContentObject(text); };
    const std::int32_t open_action = script(OpenActionScript);
    const std::int32_t will_close = script(WillCloseScript);
    const std::int32_t will_save = script(WillSaveScript);
    const std::int32_t did_save = script(DidSaveScript);
    const std::int32_t will_print = script(WillPrintScript);
    const std::int32_t did_print = script(DidPrintScript);
    const std::int32_t global = script(DocumentScript);
    std::int32_t names = 0;
    if (global != 0) {
        names = WriteObjStart(0);
        // The name is a literal string of the file: under protection it is
        // encrypted with this object's key like every other one.
        WriteLine("<< /JavaScript << /Names [ " + PdfLiteralString("globalscript") + " << /S /JavaScript /JS " +
                  ref(global) + " >> ] >> >>");
        WriteObjEnd();
    }

    // Layers.
    std::string properties, all_layers, order, on, off;
    std::int32_t screen_layer = 0, printer_layer = 0;
    if (LayerCount > 0) {
        for (std::int32_t i = 1; i <= LayerCount && static_cast<std::size_t>(i) < LayerTable.size(); ++i) {
            const LayerRecord& layer = LayerTable[static_cast<std::size_t>(i)];
            const std::int32_t o = WriteObjStart(0);
            WriteLine("<</Type /OCG /Name " + PdfTextString(layer.Name));
            bool visible = layer.StartState;
            if (layer.Name == "SCREEN") {
                WriteLine("/Usage <</Print <</PrintState /OFF>> /View <</ViewState /ON>>>>");
                visible = true;
                screen_layer = o;
            } else if (layer.Name == "PRINTER") {
                WriteLine("/Usage <</Print <</PrintState /ON>> /View <</ViewState /OFF>>>>");
                visible = false;
                printer_layer = o;
            }
            WriteLine(">>");
            WriteObjEnd();
            properties += "/_LAY_" + std::to_string(i) + " " + ref(o) + " ";
            all_layers += ref(o) + " ";
            if (layer.ShowInList) order += ref(o) + " ";
            (visible ? on : off) += ref(o) + " ";
        }
        RequireVersion(2);
    }

    // Metadata, always.
    const std::string packet = BuildXmpMetadata();
    const std::int32_t metadata = WriteObjStart(0);
    WriteLine("<< /Type /Metadata /Subtype /XML");
    WriteStream(pdf::Bytes(packet.begin(), packet.end()), 0);
    WriteObjEnd();

    // Named destinations: one key per name, the one defined last (a name
    // given twice in a dictionary is an error, and readers differ on which
    // one they follow).
    std::int32_t dests = 0;
    if (DestinationCount > 0) {
        const std::size_t count =
            std::min<std::size_t>(DestinationCount, std::max<std::size_t>(DestinationEntries.size(), 1) - 1);
        std::unordered_map<std::string_view, std::size_t> last_of;
        for (std::size_t i = 1; i <= count; ++i) last_of[DestinationEntries[i].Name] = i;
        dests = WriteObjStart(0);
        WriteLine("<<");
        for (std::size_t i = 1; i <= count; ++i) {
            const DestinationRecord& d = DestinationEntries[i];
            if (last_of[d.Name] != i) continue;
            std::int32_t page = d.Page;
            // Page 0 and other negatives (but -1) mean the first page; -1 and
            // pages past the end the last.
            if (page >= PageCount || page == -1) page = PageCount;
            else if (page < 1) page = 1;
            // A destination without a view would be "[n 0 R ]", which readers
            // refuse: it shows the whole page instead.
            WriteLine(d.Name + " [" + ref(PageObjects[static_cast<std::size_t>(page)]) + " " +
                      (d.View.empty() ? std::string("/Fit") : d.View) + "] ");
        }
        WriteLine(">>");
        WriteObjEnd();
    }

    // The two shared resource dictionaries: 3 for reusable objects and
    // patterns, 2 for the pages (which may also use patterns).
    auto resources = [&](bool with_patterns) {
        std::string r = "<<\r";
        if (!FontResources.empty()) r += "/Font <<\r" + FontResources + ">>\r";
        r += "/ProcSet [/PDF /Text";
        if (!ImageResources.empty()) r += " /ImageB /ImageC /ImageI";
        r += " ]\r";
        if (!properties.empty()) r += "/Properties <<" + properties + ">>";
        r += "\r";
        if (!ImageResources.empty() || !ObjectResources.empty()) {
            r += "/XObject <<\r";
            if (!ImageResources.empty()) r += ImageResources + "\r";
            if (!ObjectResources.empty()) r += ObjectResources + "\r";
            r += ">>\r";
        }
        if (with_patterns && !PatternResources.empty()) {
            r += "/ColorSpace << /xxCSxx [ /Pattern /DeviceRGB ] >> \r/Pattern <<\r" + PatternResources + ">>\r";
        }
        if (!ExtGStateResources.empty()) r += "/ExtGState << " + ExtGStateResources + " >> \r";
        r += ">>";
        return r;
    };
    WriteObjStart(3);
    WriteLine(resources(false));
    WriteObjEnd();
    WriteObjStart(2);
    WriteLine(resources(true));
    WriteObjEnd();

    WriteObjStart(1);
    WriteLine("<<\r/Type /Pages /Count " + std::to_string(PageCount) + "\r/Kids [" + PageKids + "] \r>>");
    WriteObjEnd();

    // Catalog.
    const std::int32_t root = WriteObjStart(0);
    std::string catalog = "<< /Type /Catalog\r/Pages 1 0 R";
    if (outlines != 0) catalog += "\r/Outlines " + ref(outlines);
    if (!PageLabels.empty()) catalog += "\r" + PageLabelsEntry();
    catalog += "\r/Metadata " + ref(metadata);
    if (dests != 0) catalog += "\r/Dests " + ref(dests);
    if (!FieldRefs.empty() || FreeTextNotes) {
        catalog += "\r/AcroForm <</NeedAppearances true /Fields [" + FieldRefs + "] /CO [" + CalcOrderRefs +
                   "] /DR << /Font <<\r" + FontResources +
                   (CheckMarkFields ? "/ZaDb << /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >> " : "") +
                   ">> >> >>";
    }
    if (names != 0) catalog += "\r/Names " + ref(names);
    if (open_action != 0) catalog += "\r/OpenAction << /S /JavaScript /JS " + ref(open_action) + " >>\r";
    WriteLine(catalog);
    if (will_close || will_save || did_save || will_print || did_print) {
        std::string actions = "\n/AA <<";
        auto action = [&](std::int32_t n, const char* key) {
            if (n != 0) actions += std::string(" /") + key + " << /Type /Action /S /JavaScript /JS " + ref(n) + " >>\r";
        };
        action(will_close, "WC");
        action(will_save, "WS");
        action(did_save, "DS");
        action(will_print, "WP");
        action(did_print, "DP");
        actions += ">> ";
        WriteLine(actions);
    }
    if (LayerCount > 0) {
        std::string sp;
        if (printer_layer != 0) sp += ref(printer_layer) + " ";
        if (screen_layer != 0) sp += ref(screen_layer) + " ";
        std::string oc = "/OCProperties <</OCGs [" + all_layers + "] /D <</AS [ ";
        if (printer_layer != 0) oc += "<</Event /Print /OCGs [" + sp + "] /Category [/Print]>> ";
        if (screen_layer != 0) oc += "<</Event /View /OCGs [" + sp + "] /Category [/View]>> ";
        oc += "]\n/ON [" + on + "] \n/OFF [" + off + "] \n/Order [" +
              PdfTextString(DocInfo.Title) + " " + order + "]>>  >>";
        WriteLine(oc);
    }
    const std::int32_t layout = ViewerPreferences & ~0xFFF;
    if (layout == 0x2000) WriteLine("/PageLayout /OneColumn");
    else if (layout == 0x4000) WriteLine("/PageLayout /TwoColumnLeft");
    else if (layout == static_cast<std::int32_t>(0xFFFF8000u)) WriteLine("/PageLayout /TwoColumnRight");
    switch (ViewerPreferences & 0xF) {
        case 1: WriteLine("/PageMode /FullScreen"); break;
        case 2:
            if (OutlineCount > 1) WriteLine("/PageMode /UseOutlines");
            break;
        case 4: WriteLine("/PageMode /UseThumbs"); break;
        case 8:
            WriteLine("/PageMode /UseOC");
            RequireVersion(2);
            break;
        default: break;
    }
    std::string preferences = "/ViewerPreferences << ";
    if (ViewerPreferences & 0x10) preferences += "/HideMenubar true ";
    if (ViewerPreferences & 0x20) preferences += "/HideToolbar true ";
    if (ViewerPreferences & 0x40) preferences += "/HideWindowUI true ";
    if (ViewerPreferences & 0x80) {
        preferences += "/DisplayDocTitle true ";
        RequireVersion(1);
    }
    if (ViewerPreferences & 0x100) preferences += "/CenterWindow true ";
    if (ViewerPreferences & 0x200) preferences += "/FitWindow true ";
    WriteLine(preferences + " >>");
    WriteLine(">>");
    WriteObjEnd();

    // Information dictionary.
    const std::int32_t info = WriteObjStart(0);
    WriteLine("<<\r/Title " + PdfTextString(DocInfo.Title) + "\r/Author " + PdfTextString(DocInfo.Author) +
              "\r/Creator " + PdfTextString(DocInfo.Creator) + "\r/Producer " + PdfTextString(DocInfo.Producer) +
              "\r/CreationDate " + PdfTextString(DocInfo.CreationDate) + "\r/Subject " +
              PdfTextString(DocInfo.Subject) + "\r/Keywords " + PdfTextString(DocInfo.Keywords) + "\r>>");
    WriteObjEnd();

    // Cross-reference table and trailer.
    const std::int64_t xref = BytesWritten;
    WriteLine("xref\n0 " + std::to_string(LastObjectNumber + 1) + "\n0000000000 65535 f\r");
    for (std::int32_t k = 1; k <= LastObjectNumber; ++k) WriteLine(ObjectOffsets[static_cast<std::size_t>(k)]);
    WriteLine("trailer\n<< /Size " + std::to_string(LastObjectNumber + 1) + " /Info " + ref(info) + " /Root " +
              ref(root));
    if (encryption != 0) {
        const std::string h = hex_upper(FileIdentifier);
        WriteLine("/Encrypt " + ref(encryption) + " /ID [<" + h + "><" + h + ">]");
    }
    WriteLine(">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF");

    // The version line has the length of "%PDF-1.3", so nothing moves.
    if (RequiredMinorVersion > 0) {
        const std::string version = "%PDF-1." + std::to_string(3 + RequiredMinorVersion);
        if (version.size() == 8) {
            if (const int error = pdf::overwrite_start(OutputFile, version); error != 0)
                RaiseError(57, "EndDoc", pdf::write_failure(error));
        }
    }
    // The length is the file's real length, not the position after the
    // version rewrite.
    const std::int32_t length = static_cast<std::int32_t>(BytesWritten > 2147483647 ? 2147483647 : BytesWritten);
    if (const int error = pdf::commit_replacing(OutputFile, TemporaryFileName, ReplacedFileName); error != 0)
        RaiseError(57, "EndDoc", pdf::write_failure(error));
    FinalFileSize = length;
    end_of_document.completed = true;
    ResetDocumentState();
}
