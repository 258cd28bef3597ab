// ImportPage: a page of another PDF file drawn as a form object. The page is
// planned whole in memory first (objects to copy, their new numbers, the
// content, the box) so that a file that cannot be read writes nothing.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <unordered_map>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/public_call.h"
#include "pdf/core/flate_decoder.h"
#include "pdf/extras/imported_file.h"

namespace {

using pdf::PdfObject;
using pdf::PdfValue;
using pdf::PdfValueHandle;

// The decoded content of one page, when its streams have to be joined: the
// buffer is reserved at this size and filled as it is decoded.
constexpr std::size_t kMaxDecodedContent = std::size_t{32} << 20;

struct PlannedImport {
    std::array<float, 4> box{};
    // The page's resources (null: none).
    PdfValueHandle resources;
    // The form's content: the single stream as it stands in the file, with
    // its filter and parameters, or the streams decoded and joined.
    std::shared_ptr<const PdfObject> single;
    PdfValueHandle filter, decode_parms;
    std::optional<pdf::Bytes> joined;
    // Source objects to copy, in the order of their new numbers.
    std::vector<std::pair<std::shared_ptr<const PdfObject>, std::int32_t>> objects;
    std::unordered_map<std::int64_t, std::int32_t> fresh;
};

// Finds the references of values and gives each object not yet in the
// output the next free number when it is first met (so cycles end). A
// reference to an object that is itself only a reference stands for the
// object at the end of the chain: that one is copied, the links never.
class CopyPlanner {
public:
    CopyPlanner(pdf::ImportedFile& record, PlannedImport& plan, std::int32_t first_number)
        : record_(record), plan_(plan), next_(first_number) {}

    void collect(const PdfValue& value) {
        if (value.is(PdfValue::Kind::reference)) {
            reference(value.integer, value.generation);
            return;
        }
        for (const PdfValue& item : value.items) collect(item);
    }

    // Collects what every object planned refers to, in the order they were
    // met. The objects are held, not copied: the file's budget of parsed
    // values bounds them.
    void copy_all() {
        for (std::size_t i = 0; i < plan_.objects.size(); ++i) {
            const std::shared_ptr<const PdfObject> object = plan_.objects[i].first;
            const std::vector<PdfValue>& items = object->value.items;
            if (object->has_stream) {
                // A stream's length is written anew, never copied.
                for (std::size_t k = 0; k + 1 < items.size(); k += 2)
                    if (items[k].text != "Length") collect(items[k + 1]);
            } else {
                collect(object->value);
            }
        }
    }

private:
    std::int32_t known(std::int64_t number) const {
        if (const auto f = record_.new_numbers.find(number); f != record_.new_numbers.end()) return f->second;
        if (const auto f = plan_.fresh.find(number); f != plan_.fresh.end()) return f->second;
        return 0;
    }

    void reference(std::int64_t number, std::int32_t generation) {
        if (!record_.file->exists(number, generation)) return;  // written as null
        if (known(number)) return;
        auto [end, object] = record_.file->referred(number, generation);
        if (!record_.file->exists(end.number, end.generation)) return;  // written as null
        std::int32_t new_number = known(end.number);
        if (!new_number) {
            if (next_ == 2147483647) pdf::refuse("troppi oggetti");
            new_number = next_++;
            plan_.fresh[end.number] = new_number;
            plan_.objects.emplace_back(std::move(object), new_number);
        }
        plan_.fresh[number] = new_number;
    }

    pdf::ImportedFile& record_;
    PlannedImport& plan_;
    std::int32_t next_;
};

bool is_plain_flate(pdf::PdfFile& file, const PdfValue& filter, const PdfValue& parms) {
    const auto is_flate = [&](const PdfValue& name) {
        const PdfValueHandle resolved = file.resolve(name);
        return resolved->is(PdfValue::Kind::name) && resolved->text == "FlateDecode";
    };
    const bool flate = is_flate(filter) ||
                       (filter.is(PdfValue::Kind::array) && filter.items.size() == 1 && is_flate(filter.items[0]));
    if (!flate) return false;
    // Parameters that change nothing (no predictor) are allowed.
    PdfValueHandle p(std::shared_ptr<const void>(), &parms);
    if (parms.is(PdfValue::Kind::array)) {
        if (parms.items.size() != 1) return false;
        p = file.resolve(parms.items[0]);
    }
    if (p->is(PdfValue::Kind::null)) return true;
    if (!p->is(PdfValue::Kind::dictionary)) return false;
    const PdfValue* predictor = p->find("Predictor");
    if (!predictor) return true;
    const PdfValueHandle value = file.resolve(*predictor);
    return value->is_number() && value->number() == 1;
}

std::string filter_name(const PdfValue& filter) { return pdf::serialize(filter).substr(0, 60); }

// The entry `key` of a stream's dictionary, resolved (nullptr when absent).
PdfValueHandle stream_entry(pdf::PdfFile& file, const std::shared_ptr<const PdfObject>& stream, std::string_view key) {
    const PdfValue* entry = stream->value.find(key);
    if (!entry) return nullptr;
    const PdfValueHandle resolved = file.resolve(*entry);
    return resolved.get() == entry ? PdfValueHandle(stream, entry) : resolved;
}

// The page's content streams: /Contents as one stream, or as an array
// (direct or referred to) of streams.
std::vector<std::shared_ptr<const PdfObject>> content_streams(pdf::PdfFile& file, const PdfValue& page) {
    std::vector<std::shared_ptr<const PdfObject>> streams;
    const PdfValue* contents = page.find("Contents");
    if (!contents) return streams;
    const PdfValue* list = contents;
    std::shared_ptr<const PdfObject> held;  // keeps a referred array alive
    if (contents->is(PdfValue::Kind::reference)) {
        held = file.referred(contents->integer, contents->generation).object;
        if (held->has_stream) return {held};
        list = &held->value;
    }
    if (!list->is(PdfValue::Kind::array)) return streams;
    for (const PdfValue& item : list->items) {
        if (!item.is(PdfValue::Kind::reference)) continue;
        auto object = file.referred(item.integer, item.generation).object;
        if (object->has_stream) streams.push_back(std::move(object));
    }
    return streams;
}

// Several content streams decoded one after the other into one buffer,
// reserved once, a line feed between two (so that the last token of one
// never fuses with the first of the next).
pdf::Bytes joined_content(pdf::PdfFile& file, const std::vector<std::shared_ptr<const PdfObject>>& streams) {
    pdf::Bytes content;
    content.reserve(kMaxDecodedContent);
    const auto too_large = [] { pdf::refuse("contenuto della pagina oltre 32 MiB"); };
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (i > 0) {
            if (content.size() == kMaxDecodedContent) too_large();
            content.push_back('\n');
        }
        const std::string_view data = file.stream_data(*streams[i]);
        const PdfValueHandle filter = stream_entry(file, streams[i], "Filter");
        const PdfValueHandle parms = stream_entry(file, streams[i], "DecodeParms");
        if (!filter || filter->is(PdfValue::Kind::null) || (filter->is(PdfValue::Kind::array) && filter->items.empty())) {
            if (data.size() > kMaxDecodedContent - content.size()) too_large();
            content.insert(content.end(), data.begin(), data.end());
            file.done_with(data);
            continue;
        }
        if (!is_plain_flate(file, *filter, parms ? *parms : PdfValue{}))
            pdf::refuse("pagina con pi\xF9 stream di contenuto e filtro " + filter_name(*filter) + ": non gestita");
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
        const pdf::FlateStatus status = pdf::zlib_decode_append(bytes, kMaxDecodedContent - content.size(), content);
        if (status == pdf::FlateStatus::output_too_large) too_large();
        if (status != pdf::FlateStatus::ok)
            pdf::refuse(std::string("contenuto compresso della pagina non valido: ") + pdf::flate_status_text(status));
        file.done_with(data);
    }
    return content;
}

PlannedImport plan_page(pdf::ImportedFile& record, std::int32_t page_number, std::int32_t first_number) {
    pdf::PdfFile& file = *record.file;
    if (!file.unchanged()) pdf::refuse("il file \xE8 stato modificato dopo la prima lettura");
    const pdf::PdfObjectId page = file.pages()[static_cast<std::size_t>(page_number - 1)];
    const auto page_object = file.object(page.number, page.generation);
    PlannedImport plan;

    // The box: four numbers, corners in any order, not empty.
    const PdfValueHandle media_box = file.inherited(page, "MediaBox");
    if (!media_box || !media_box->is(PdfValue::Kind::array) || media_box->items.size() != 4)
        pdf::refuse("pagina senza MediaBox valido");
    std::array<double, 4> corners{};
    for (std::size_t i = 0; i < 4; ++i) {
        const PdfValueHandle corner = file.resolve(media_box->items[i]);
        if (!corner->is_number()) pdf::refuse("pagina senza MediaBox valido");
        corners[i] = corner->number();
    }
    plan.box = {static_cast<float>(std::min(corners[0], corners[2])), static_cast<float>(std::min(corners[1], corners[3])),
                static_cast<float>(std::max(corners[0], corners[2])), static_cast<float>(std::max(corners[1], corners[3]))};
    for (float v : plan.box)
        if (!std::isfinite(v) || std::fabs(v) > 1e6f) pdf::refuse("MediaBox fuori misura");
    if (!(plan.box[2] - plan.box[0] > 0) || !(plan.box[3] - plan.box[1] > 0)) pdf::refuse("MediaBox vuoto");

    // Resources that are not a dictionary count as none.
    plan.resources = file.inherited(page, "Resources");
    if (plan.resources && !plan.resources->is(PdfValue::Kind::dictionary)) plan.resources = nullptr;

    const auto streams = content_streams(file, page_object->value);
    if (streams.size() == 1) {
        plan.single = streams[0];
        plan.filter = stream_entry(file, streams[0], "Filter");
        plan.decode_parms = stream_entry(file, streams[0], "DecodeParms");
    } else if (streams.size() > 1) {
        plan.joined = joined_content(file, streams);
    }

    CopyPlanner planner(record, plan, first_number);
    if (plan.resources) planner.collect(*plan.resources);
    if (plan.filter) planner.collect(*plan.filter);
    if (plan.decode_parms) planner.collect(*plan.decode_parms);
    planner.copy_all();
    return plan;
}

// Hands surplus cached values back when the call ends, however it ends.
struct Resting {
    pdf::PdfFile* file = nullptr;
    ~Resting() {
        if (file) file->rest();
    }
};

}  // namespace

void PdfWriter::ImportPage(std::string_view Filename, std::int32_t PageNumber, float DestX, float DestY, float XDim,
                           float YDim) {
    const pdf::PublicCall call("ImportPage");
    if (PageNumber < 0) RaiseError(9, "ImportPage", pdf::error_text(9));
    const auto failed = [&](const pdf::PdfReadError& failure) {
        const std::string why = failure.number() == 53 ? std::string() : failure.what();
        RaiseError(failure.number(), "ImportPage",
                   pdf::error_text(failure.number()) + (why.empty() ? "" : " - " + why) + " - " + std::string(Filename));
    };
    if (OutputFile == nullptr) RaiseError(52, "ImportPage", pdf::error_text(52));

    std::int32_t index = 0;
    bool encrypted = false;
    try {
        index = LoadImportedFile(Filename, encrypted);
    } catch (const pdf::PdfReadError& failure) {
        failed(failure);
    }
    pdf::ImportedFile& record = *ImportedFiles[static_cast<std::size_t>(index - 1)];
    const Resting resting{record.file.get()};
    if (PageNumber == 0 || static_cast<std::size_t>(PageNumber) > record.file->pages().size()) return;

    const auto known = record.forms.find(PageNumber);
    PlannedImport plan;
    pdf::ImportedFile::Form form;
    if (known != record.forms.end()) {
        form = known->second;
    } else {
        try {
            plan = plan_page(record, PageNumber, LastObjectNumber + 1);
        } catch (const pdf::PdfReadError& failure) {
            failed(failure);
        }
        // Cached values the plan does not hold go back before the writing.
        record.file->rest();
        form.box = plan.box;
    }
    const std::string name = "_PDF_" + std::to_string(index) + "." + std::to_string(PageNumber);

    // The placement is worked out before anything is written, so that a
    // size that cannot be written leaves the output untouched.
    const float width = form.box[2] - form.box[0], height = form.box[3] - form.box[1];
    float xd = XDim, yd = YDim;
    if (xd == 0 && yd == 0) {
        xd = width / UnitFactor;
        yd = height / UnitFactor;
    } else if (xd == 0) {
        xd = width * yd / height;
    } else if (yd == 0) {
        yd = height * xd / width;
    }
    std::string placement;
    try {
        placement = FormatNumber(xd * UnitFactor / width) + " 0 0 " + FormatNumber(-(yd * UnitFactor / height)) + " " +
                    FormatLength(DestX) + " " + FormatLength(DestY + yd) + " cm";
    } catch (const PdfError& error) {
        RaiseError(error.number(), "ImportPage", error.description());
    }

    if (known == record.forms.end()) {
        const bool protect = ProtectionOn;
        pdf::PdfWriteHooks hooks;
        if (protect) hooks.string_bytes = [this](std::string_view s) { return EncryptLiteralText(s); };
        const auto new_number = [&](std::int64_t number) -> std::int32_t {
            if (const auto f = plan.fresh.find(number); f != plan.fresh.end()) return f->second;
            if (const auto f = record.new_numbers.find(number); f != record.new_numbers.end()) return f->second;
            return 0;
        };
        hooks.reference = [&](std::int64_t number, std::int32_t generation) -> std::string {
            const std::int32_t n = record.file->exists(number, generation) ? new_number(number) : 0;
            return n > 0 ? std::to_string(n) + " 0 R" : std::string("null");
        };
        pdf::PdfWriteHooks stream_hooks = hooks;
        stream_hooks.omit = "Length";
        // Bytes of the source written as they stand, straight from the file,
        // a piece at a time, each handed back once written; a copy only to
        // encrypt them.
        const auto write_stream = [&](std::string head, std::string_view source, std::int32_t n) {
            std::string_view data = source;
            pdf::Bytes encrypted;
            if (protect) {
                encrypted.assign(source.begin(), source.end());
                record.file->done_with(source);
                EncryptStreamData(encrypted, n);
                data = std::string_view(reinterpret_cast<const char*>(encrypted.data()), encrypted.size());
            }
            head += " /Length " + std::to_string(data.size()) + " >>\nstream\n";
            WriteBytes(head.data(), head.size());
            constexpr std::size_t piece = std::size_t{1} << 20;
            for (std::size_t at = 0; at < data.size(); at += piece) {
                const std::string_view part = data.substr(at, piece);
                WriteBytes(part.data(), part.size());
                if (!protect) record.file->done_with(part);
            }
            static constexpr std::string_view tail = "\nendstream\n";
            WriteBytes(tail.data(), tail.size());
        };

        for (const auto& [object, n] : plan.objects) {
            WriteObjStart(n);
            if (object->has_stream) {
                std::string head = pdf::serialize(object->value, stream_hooks);
                head.resize(head.size() - 3);  // " >>"
                write_stream(std::move(head), record.file->stream_data(*object), n);
            } else {
                WriteLine(pdf::serialize(object->value, hooks));
            }
            WriteObjEnd();
        }
        form.object = WriteObjStart(0);
        WriteLine("<< /Type /XObject /Subtype /Form /FormType 1");
        WriteLine("   /BBox [" + FormatNumber(form.box[0]) + " " + FormatNumber(form.box[1]) + " " +
                  FormatNumber(form.box[2]) + " " + FormatNumber(form.box[3]) + "]");
        // The page's lower-left corner goes to the form's origin, so that a
        // box not at (0, 0) is placed like any other.
        if (form.box[0] != 0 || form.box[1] != 0)
            WriteLine("   /Matrix [1 0 0 1 " + FormatNumber(-form.box[0]) + " " + FormatNumber(-form.box[1]) + "]");
        WriteLine("   /Resources " + (plan.resources ? pdf::serialize(*plan.resources, hooks) : std::string("<< >>")));
        if (plan.joined) {
            // Decoded, the joined content goes through the document's own
            // filters like any stream the writer makes.
            WriteStream(std::move(*plan.joined), form.object);
        } else {
            std::string head;
            if (plan.filter && !plan.filter->is(PdfValue::Kind::null))
                head += "   /Filter " + pdf::serialize(*plan.filter, hooks) + "\n";
            if (plan.decode_parms && !plan.decode_parms->is(PdfValue::Kind::null))
                head += "   /DecodeParms " + pdf::serialize(*plan.decode_parms, hooks) + "\n";
            write_stream(head, plan.single ? record.file->stream_data(*plan.single) : std::string_view(), form.object);
        }
        WriteObjEnd();

        for (const auto& [number, n] : plan.fresh) record.new_numbers[number] = n;
        record.forms[PageNumber] = form;
        ObjectResources += "/" + name + " " + std::to_string(form.object) + " 0 R \r";
    }

    SetXY(DestX, DestY);
    PutContent("q");
    PutContent(placement);
    PutContent("/" + name + " Do");
    PutContent("Q");
    SetLastRect(UserToPageX(DestX), UserToPageY(DestY), UserToPageX(DestX + xd), UserToPageY(DestY + yd));
    RequireVersion(record.source_version);
}
