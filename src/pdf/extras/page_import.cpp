// ImportPage: a page of another PDF file drawn as a form object. The page is
// planned whole in memory first (objects to copy, their new numbers, the
// content, the box) so that a file that cannot be read writes nothing.
#include <algorithm>
#include <cmath>
#include <deque>
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

// The decoded content of one page, when its streams have to be joined.
constexpr std::size_t kMaxDecodedContent = std::size_t{64} << 20;
// The values of the objects one page may bring along: parsed values take
// far more memory than their text, and real pages hold a few thousand.
constexpr std::size_t kMaxCopiedValues = 2'000'000;

struct PlannedImport {
    std::array<float, 4> box{};
    PdfValue resources;
    // The form's content: the single stream's bytes with its filter, or the
    // joined decoded streams without one.
    std::string content;
    PdfValue filter, decode_parms;
    // Source objects to copy, in the order of their new numbers.
    std::vector<std::pair<std::shared_ptr<const PdfObject>, std::int32_t>> objects;
    std::unordered_map<std::int64_t, std::int32_t> fresh;
};

// Finds the references of values and gives each object not yet in the
// output the next free number, before it is read (so cycles end).
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

    // Reads and collects every object queued, breadth first.
    void copy_all(pdf::PdfFile& file) {
        while (!queue_.empty()) {
            const auto [number, generation, new_number] = queue_.front();
            queue_.pop_front();
            auto object = file.object(number, generation);
            copied_values_ += object->values;
            if (copied_values_ > kMaxCopiedValues) pdf::refuse("pagina con troppi oggetti da copiare");
            if (object->has_stream) {
                // A stream's length is written anew, never copied.
                for (std::size_t i = 0; i < object->value.items.size(); ++i)
                    if (object->value.keys[i] != "Length") collect(object->value.items[i]);
            } else {
                collect(object->value);
            }
            plan_.objects.emplace_back(std::move(object), new_number);
        }
    }

    std::int32_t next_number() const { return next_; }

private:
    void reference(std::int64_t number, std::int32_t generation) {
        if (!record_.file->exists(number, generation)) return;  // written as null
        if (record_.new_numbers.count(number) || plan_.fresh.count(number)) return;
        if (next_ == 2147483647) pdf::refuse("troppi oggetti");
        plan_.fresh[number] = next_;
        queue_.push_back({number, generation, next_});
        ++next_;
    }

    struct Queued {
        std::int64_t number;
        std::int32_t generation;
        std::int32_t new_number;
    };
    pdf::ImportedFile& record_;
    PlannedImport& plan_;
    std::int32_t next_;
    std::deque<Queued> queue_;
    std::size_t copied_values_ = 0;
};

bool is_plain_flate(const PdfValue& filter, const PdfValue& parms) {
    const bool flate = (filter.is(PdfValue::Kind::name) && filter.text == "FlateDecode") ||
                       (filter.is(PdfValue::Kind::array) && filter.items.size() == 1 &&
                        filter.items[0].is(PdfValue::Kind::name) && filter.items[0].text == "FlateDecode");
    if (!flate) return false;
    // Parameters that change nothing (no predictor) are allowed.
    const PdfValue* p = &parms;
    if (parms.is(PdfValue::Kind::array)) p = parms.items.size() == 1 ? &parms.items[0] : nullptr;
    if (p == nullptr) return false;
    if (p->is(PdfValue::Kind::null)) return true;
    const PdfValue* predictor = p->find("Predictor");
    return p->is(PdfValue::Kind::dictionary) && (!predictor || (predictor->is_number() && predictor->number() == 1));
}

std::string filter_name(const PdfValue& filter) { return pdf::serialize(filter).substr(0, 60); }

// The page's content streams: /Contents as one stream, or as an array
// (direct or referred to) of streams.
std::vector<std::shared_ptr<const PdfObject>> content_streams(pdf::PdfFile& file, const PdfValue& page) {
    std::vector<std::shared_ptr<const PdfObject>> streams;
    const PdfValue* contents = page.find("Contents");
    if (!contents) return streams;
    PdfValue list = *contents;
    if (list.is(PdfValue::Kind::reference)) {
        auto object = file.object(list.integer, list.generation);
        if (object->has_stream) {
            streams.push_back(std::move(object));
            return streams;
        }
        list = file.resolve(list);
    }
    for (const PdfValue& item : list.items) {
        if (!item.is(PdfValue::Kind::reference)) continue;
        auto object = file.object(item.integer, item.generation);
        if (object->has_stream) streams.push_back(std::move(object));
    }
    return streams;
}

PlannedImport plan_page(pdf::ImportedFile& record, std::int32_t page_number, std::int32_t first_number) {
    pdf::PdfFile& file = *record.file;
    const pdf::PdfObjectId page = file.pages()[static_cast<std::size_t>(page_number - 1)];
    const PdfValue page_dict = file.object(page.number, page.generation)->value;
    PlannedImport plan;

    // The box: four numbers, corners in any order, not empty.
    const std::optional<PdfValue> media_box = file.inherited(page, "MediaBox");
    if (!media_box || !media_box->is(PdfValue::Kind::array) || media_box->items.size() != 4)
        pdf::refuse("pagina senza MediaBox valido");
    std::array<double, 4> corners{};
    for (std::size_t i = 0; i < 4; ++i) {
        const PdfValue corner = file.resolve(media_box->items[i]);
        if (!corner.is_number()) pdf::refuse("pagina senza MediaBox valido");
        corners[i] = corner.number();
    }
    plan.box = {static_cast<float>(std::min(corners[0], corners[2])), static_cast<float>(std::min(corners[1], corners[3])),
                static_cast<float>(std::max(corners[0], corners[2])), static_cast<float>(std::max(corners[1], corners[3]))};
    for (float v : plan.box)
        if (!std::isfinite(v) || std::fabs(v) > 1e6f) pdf::refuse("MediaBox fuori misura");
    if (!(plan.box[2] - plan.box[0] > 0) || !(plan.box[3] - plan.box[1] > 0)) pdf::refuse("MediaBox vuoto");

    // A page without resources gets an empty dictionary.
    const std::optional<PdfValue> resources = file.inherited(page, "Resources");
    plan.resources.kind = PdfValue::Kind::dictionary;
    if (resources && resources->is(PdfValue::Kind::dictionary)) plan.resources = *resources;

    const auto streams = content_streams(file, page_dict);
    if (streams.size() == 1) {
        const PdfValue& dict = streams[0]->value;
        plan.content = std::string(file.stream_data(*streams[0]));
        if (const PdfValue* f = dict.find("Filter")) plan.filter = file.resolve(*f);
        if (const PdfValue* p = dict.find("DecodeParms")) plan.decode_parms = file.resolve(*p);
    } else if (streams.size() > 1) {
        // Joined with a line feed, so that the last token of one stream
        // never fuses with the first of the next.
        std::vector<std::uint8_t> decoded;
        for (std::size_t i = 0; i < streams.size(); ++i) {
            if (i > 0) plan.content += '\n';
            const PdfValue& dict = streams[i]->value;
            const std::string_view data = file.stream_data(*streams[i]);
            const PdfValue filter = dict.find("Filter") ? file.resolve(*dict.find("Filter")) : PdfValue{};
            const PdfValue parms = dict.find("DecodeParms") ? file.resolve(*dict.find("DecodeParms")) : PdfValue{};
            if (filter.is(PdfValue::Kind::null) ||
                (filter.is(PdfValue::Kind::array) && filter.items.empty())) {
                if (data.size() > kMaxDecodedContent - plan.content.size())
                    pdf::refuse("contenuto della pagina oltre 64 MiB");
                plan.content += data;
                continue;
            }
            if (!is_plain_flate(filter, parms))
                pdf::refuse("pagina con pi\xF9 stream di contenuto e filtro " + filter_name(filter) + ": non gestita");
            const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
            const pdf::FlateStatus status = pdf::zlib_decode(bytes, kMaxDecodedContent - plan.content.size(), decoded);
            if (status == pdf::FlateStatus::output_too_large) pdf::refuse("contenuto della pagina oltre 64 MiB");
            if (status != pdf::FlateStatus::ok)
                pdf::refuse(std::string("contenuto compresso della pagina non valido: ") + pdf::flate_status_text(status));
            plan.content.append(decoded.begin(), decoded.end());
        }
    }

    CopyPlanner planner(record, plan, first_number);
    planner.collect(plan.resources);
    planner.collect(plan.filter);
    planner.collect(plan.decode_parms);
    planner.copy_all(file);
    return plan;
}

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
        const auto write_stream = [&](std::string head, std::string_view data, std::int32_t n) {
            pdf::Bytes bytes(data.begin(), data.end());
            if (protect) EncryptStreamData(bytes, n);
            head += " /Length " + std::to_string(bytes.size()) + " >>\nstream\n";
            WriteBytes(head.data(), head.size());
            WriteBytes(bytes.data(), bytes.size());
            static constexpr std::string_view tail = "\nendstream\n";
            WriteBytes(tail.data(), tail.size());
        };

        for (const auto& [object, n] : plan.objects) {
            WriteObjStart(n);
            if (object->has_stream) {
                PdfValue dict = object->value;
                dict.erase("Length");
                std::string head = pdf::serialize(dict, hooks);
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
        WriteLine("   /Resources " + pdf::serialize(plan.resources, hooks));
        std::string head;
        if (!plan.filter.is(PdfValue::Kind::null)) head += "   /Filter " + pdf::serialize(plan.filter, hooks) + "\n";
        if (!plan.decode_parms.is(PdfValue::Kind::null))
            head += "   /DecodeParms " + pdf::serialize(plan.decode_parms, hooks) + "\n";
        write_stream(head, plan.content, form.object);
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
