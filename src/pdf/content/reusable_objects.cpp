// Reusable page objects (form XObjects) and tiling patterns: content recorded
// once and painted many times.
#include <string>
#include <string_view>
#include <unordered_set>

#include "pdf/PdfWriter.h"
#include "pdf/content/pdf_name.h"
#include "pdf/core/public_call.h"
#include "pdf/core/text_utils.h"

namespace {

constexpr std::int32_t kFirstPage = 1, kEvenPages = 2, kOddPages = 4, kNotFirstPage = 8, kAtPageEnd = 16;

}  // namespace

void PdfWriter::BeginObject(std::string_view Alias, std::int32_t Options) {
    if (ObjectOpen) return;
    // Any alias text makes one valid name. An alias used again gets a
    // resource of its own: two entries under one key would have readers
    // paint one of them for both.
    std::string resource = pdf::unused_name(pdf::pdf_name(Alias), [this](const std::string& name) {
        return pdf::has_resource_entry(ObjectResources, name) || pdf::has_resource_entry(ImageResources, name);
    });
    ObjectOpen = true;
    ++ObjectCount;
    if (ObjectTable.size() <= static_cast<std::size_t>(ObjectCount))
        ObjectTable.resize(static_cast<std::size_t>(ObjectCount) + 1);
    ObjectRecord& record = ObjectTable[static_cast<std::size_t>(ObjectCount)];
    record.Alias = std::string(Alias);
    record.ResourceName = std::move(resource);
    record.AnnotationRefs.clear();
    record.Options = Options;
    record.Plays.clear();
    record.Replaced = false;
    BufferReset(ContentBuffers[ObjectBuffer]);
}

void PdfWriter::EndObject() {
    if (!ObjectOpen) return;
    const pdf::PublicCall call("EndObject");
    const ObjectRecord& record = ObjectTable[static_cast<std::size_t>(ObjectCount)];
    const std::string& name = record.ResourceName;
    CloseOpenMarks(ObjectBuffer);
    const std::int32_t n = WriteObjStart(0);
    WriteLine("<< /Type /XObject /Subtype /Form /FormType 1 /Name /" + name + "\r/BBox [" +
              FormatNumber(-2 * PageWidth) + " " + FormatNumber(-2 * PageHeight) + " " + FormatNumber(2 * PageWidth) +
              " " + FormatNumber(2 * PageHeight) + "]\r/Matrix [1 0 0 1 0 0]");
    // The recording goes out as a page's content does, never copied whole.
    WriteContentStream({}, ContentBuffers[ObjectBuffer]);
    WriteObjEnd();
    ObjectResources += "/" + name + " " + std::to_string(n) + " 0 R \r";
    ObjectOpen = false;
    BufferReset(ContentBuffers[ObjectBuffer]);
    // From now on the alias means this object, for PlayObject and for the
    // placement on the pages to come alike.
    for (std::int32_t i = 1; i < ObjectCount && static_cast<std::size_t>(i) < ObjectTable.size(); ++i) {
        ObjectRecord& earlier = ObjectTable[static_cast<std::size_t>(i)];
        if (earlier.Alias == record.Alias) earlier.Replaced = true;
    }
}

std::string PdfWriter::ObjectResource(std::string_view Alias) const {
    // The latest written object of that alias; the one being recorded is
    // not there yet.
    const std::int32_t last = ObjectOpen ? ObjectCount - 1 : ObjectCount;
    for (std::int32_t i = last; i >= 1; --i) {
        if (static_cast<std::size_t>(i) >= ObjectTable.size()) continue;
        const ObjectRecord& record = ObjectTable[static_cast<std::size_t>(i)];
        if (record.Alias == Alias) return record.ResourceName;
    }
    // Not defined yet: the name an object of that alias will first have.
    return pdf::pdf_name(Alias);
}

void PdfWriter::PlayObject(std::string_view Name) {
    std::string name = ObjectResource(Name);
    if (ObjectOpen) {
        // Played inside its own recording, or inside one that an object it
        // paints paints, the object would paint itself, which no reader can
        // draw: ignored.
        ObjectRecord& recording = ObjectTable[static_cast<std::size_t>(ObjectCount)];
        if (PaintsObject(name, recording.ResourceName)) return;
        recording.Plays.push_back(name);
    }
    PutContent("q /" + name + " Do Q");
}

bool PdfWriter::PaintsObject(const std::string& from, const std::string& to) const {
    std::vector<const std::string*> pending = {&from};
    std::unordered_set<std::string_view> seen = {from};
    while (!pending.empty()) {
        const std::string& name = *pending.back();
        pending.pop_back();
        if (name == to) return true;
        for (std::int32_t i = 1; i <= ObjectCount && static_cast<std::size_t>(i) < ObjectTable.size(); ++i) {
            const ObjectRecord& record = ObjectTable[static_cast<std::size_t>(i)];
            if (record.ResourceName != name) continue;
            for (const std::string& played : record.Plays)
                if (seen.insert(played).second) pending.push_back(&played);
        }
    }
    return false;
}

void PdfWriter::PlayAutoObjects(bool AtPageEnd) {
    const std::int32_t page = PageCount;
    for (std::int32_t i = 1; i <= ObjectCount && static_cast<std::size_t>(i) < ObjectTable.size(); ++i) {
        // An object still being recorded has no resource yet.
        if (ObjectOpen && i == ObjectCount) continue;
        const ObjectRecord& record = ObjectTable[static_cast<std::size_t>(i)];
        // Defined again under its alias: the later object takes its place.
        if (record.Replaced) continue;
        const std::int32_t o = record.Options;
        const bool at_end = (o & kAtPageEnd) != 0;
        if (at_end != AtPageEnd) continue;
        bool all_pages = (o & 7) == 7;
        bool odd_match = (o & kOddPages) && page % 2 == 1;
        if (page == 1) {
            if (o & kNotFirstPage) {
                all_pages = false;
                odd_match = false;
            } else if (o & kFirstPage) {
                odd_match = true;
            }
        }
        if (!(all_pages || ((o & kEvenPages) && page % 2 == 0) || odd_match)) continue;
        // The placement always goes to the page: painted from inside a
        // recording it would make an object that paints itself.
        BufferAppend(ContentBuffers[PageBuffer], "\rq /" + record.ResourceName + " Do Q");
        PageAnnots += record.AnnotationRefs;
    }
}

void PdfWriter::BeginTiling(std::string_view Alias, float XMin, float YMin, float XMax, float YMax, float XStep,
                            float YStep, const std::int32_t& Style) {
    const pdf::PublicCall call("BeginTiling");
    if (!TilingOpen) {
        std::string dictionary = "<< /Type /Pattern /PatternType 1 /PaintType " + std::string(Style == 0 ? "1" : "2");
        dictionary += "\r/TilingType 1";
        dictionary += "\r/BBox [" + FormatLength(XMin) + " " + FormatLength(YMin) + " " + FormatLength(XMax) + " " +
                      FormatLength(YMax) + "]";
        dictionary += "\r/Resources 3 0 R";
        dictionary += "\r/XStep " + FormatLength(XStep) + " /YStep " + FormatLength(YStep);
        dictionary += "\r/Matrix [1 0 0 1 0 0]";
        // Turned upside down about the middle of the box, so that what is
        // drawn inside the box in the writer's top-down coordinates lands
        // inside it upright, wherever the box starts.
        const std::string flip = "1 0 0 -1 0 " + FormatLength(YMin + YMax) + " cm";
        TilingOpen = true;
        // Written as a valid name, the same way the colour setters write the
        // name they are given.
        TilingAlias = pdf::pdf_name(pdf::upper_case(pdf::trim_blanks(Alias)));
        TilingDictionary = std::move(dictionary);
        BufferReset(ContentBuffers[TilingBuffer]);
        BufferAppend(ContentBuffers[TilingBuffer], flip);
    }
    UncolouredTiling = Style == 1;
}

void PdfWriter::EndTiling() {
    const pdf::PublicCall call("EndTiling");
    if (!TilingOpen) return;
    CloseOpenMarks(TilingBuffer);
    TilingOpen = false;
    UncolouredTiling = false;
    const std::int32_t n = WriteObjStart(0);
    WriteLine(TilingDictionary);
    WriteContentStream({}, ContentBuffers[TilingBuffer]);
    WriteObjEnd();
    PatternResources += "/" + NewPatternResource(TilingAlias) + " " + std::to_string(n) + " 0 R \r";
    BufferReset(ContentBuffers[TilingBuffer]);
}

std::string PdfWriter::NewPatternResource(const std::string& Name) {
    std::string resource =
        pdf::unused_name(Name, [this](const std::string& name) { return pdf::has_resource_entry(PatternResources, name); });
    PatternNames[Name] = resource;
    return resource;
}

std::string PdfWriter::PatternResource(const std::string& Name) const {
    const auto found = PatternNames.find(Name);
    return found == PatternNames.end() ? Name : found->second;
}
