#include "pdf/extras/pdf_file.h"

#include <algorithm>
#include <unordered_set>

namespace pdf {

namespace {

// Far more sections, page-tree levels and chained references than any
// real file has.
constexpr int kMaxSections = 4096;
constexpr int kMaxTreeDepth = 128;
constexpr int kMaxReferenceChain = 32;
constexpr std::size_t kMaxLengthNesting = 8;
// The shortest cross-reference entry a table can hold ("0 0 n" and an end
// of line would be shorter, but every writer pads entries to 20 bytes;
// allowing 18 tolerates one-byte line ends and a missing blank).
constexpr std::size_t kMinEntryBytes = 18;
// What an object costs beyond its values: the object itself and the
// control block of its shared pointer.
constexpr std::size_t kObjectOverhead = sizeof(PdfObject) + 64;
constexpr std::size_t kMaxTrailerBytes = std::size_t{1} << 20;

std::string object_name(std::int64_t number) { return "l'oggetto " + std::to_string(number); }
std::string of_object(std::int64_t number) { return "dell'oggetto " + std::to_string(number); }

}  // namespace

PdfFile::PdfFile(const std::filesystem::path& path) : map_(std::make_unique<MappedFile>(path)), bytes_(map_->bytes()) {
    read_header_and_cross_references();
}

PdfFile::PdfFile(std::string bytes) : owned_(std::move(bytes)), bytes_(owned_) { read_header_and_cross_references(); }

void PdfFile::read_header_and_cross_references() {
    if (bytes_.size() > kMaxPdfFileSize) refuse("file pi\xF9 grande di 256 MiB");
    if (bytes_.substr(0, 5) != "%PDF-") refuse("manca l'intestazione %PDF- all'inizio del file");
    const auto digit = [&](std::size_t i) {
        return i < bytes_.size() && bytes_[i] >= '0' && bytes_[i] <= '9' ? bytes_[i] - '0' : -1;
    };
    const int major = digit(5), minor = digit(7);
    if (major < 1 || minor < 0 || bytes_.size() < 8 || bytes_[6] != '.') refuse("versione PDF illeggibile");
    minor_version_ = major == 1 ? minor : 7;

    // "startxref" and its offset stand in the last bytes of the file.
    const std::size_t tail = bytes_.size() > 1024 ? bytes_.size() - 1024 : 0;
    const std::size_t found = bytes_.rfind("startxref");
    if (found == std::string_view::npos || found < tail) truncated("manca startxref alla fine: il file \xE8 troncato");
    PdfCursor cursor(bytes_, found + 9);
    std::int64_t offset = 0;
    if (!cursor.unsigned_integer(offset)) refuse("startxref non seguito da un numero");
    read_cross_references(static_cast<std::size_t>(offset));

    // Sections were read newest first: the first entry of a number wins.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.number < b.number; });
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const Entry& a, const Entry& b) { return a.number == b.number; }),
                   entries_.end());
    entries_.shrink_to_fit();
    for (const Entry& e : entries_)
        if (e.in_use && e.offset >= bytes_.size()) truncated("un oggetto \xE8 indicato oltre la fine del file");
}

void PdfFile::read_cross_references(std::size_t offset) {
    std::unordered_set<std::size_t> visited;
    for (int sections = 0;; ++sections) {
        if (sections >= kMaxSections) refuse("troppe sezioni di riferimenti incrociati");
        // A /Prev that leads back to a section already read ends the chain.
        if (!visited.insert(offset).second) return;
        bool stream = false;
        const PdfValue trailer = read_section(offset, stream);
        // Sections are read newest first: the first /Root and /Info win.
        if (root_.is(PdfValue::Kind::null)) {
            if (const PdfValue* root = trailer.find("Root")) root_ = *root;
        }
        if (info_.is(PdfValue::Kind::null)) {
            if (const PdfValue* info = trailer.find("Info")) info_ = *info;
        }
        // An encrypted file is told apart whatever form its table has.
        if (trailer.find("Encrypt")) {
            encrypted_ = true;
            return;
        }
        if (stream || trailer.find("XRefStm")) refuse("riferimenti incrociati in uno stream (PDF 1.5): non gestiti");
        const PdfValue* prev = trailer.find("Prev");
        if (!prev) return;
        if (!prev->is(PdfValue::Kind::integer) || prev->integer < 0) refuse("/Prev non valido");
        offset = static_cast<std::size_t>(prev->integer);
    }
}

PdfValue PdfFile::read_section(std::size_t offset, bool& stream) {
    if (offset >= bytes_.size()) truncated("i riferimenti incrociati sono oltre la fine del file");
    PdfCursor c(bytes_, offset);
    // A trailer holds a few entries; what of it is kept (/Root, /Info)
    // stays small.
    PdfParseBudget budget(kMaxTrailerBytes);
    if (!c.keyword("xref")) {
        // A cross-reference stream: only its dictionary is read, to tell an
        // encrypted file from one in a form we do not read.
        std::int64_t number = 0, generation = 0;
        if (c.unsigned_integer(number) && c.unsigned_integer(generation) && c.keyword("obj")) {
            PdfValue dict = parse_value(c, budget);
            if (!dict.is(PdfValue::Kind::dictionary)) refuse("riferimenti incrociati in uno stream non validi");
            stream = true;
            return dict;
        }
        refuse("tabella dei riferimenti incrociati non trovata dove indicato");
    }
    for (;;) {
        if (c.keyword("trailer")) break;
        std::int64_t first = 0, count = 0;
        if (!c.unsigned_integer(first) || !c.unsigned_integer(count)) {
            c.skip_space();
            if (c.at_end()) truncated("il file finisce dentro i riferimenti incrociati");
            refuse("sottosezione dei riferimenti incrociati non valida");
        }
        // All sections together, even sections that overlap in the file,
        // list no more entries than the file can hold.
        const std::size_t most = bytes_.size() / kMinEntryBytes;
        if (static_cast<std::size_t>(count) > most - entries_.size())
            refuse("la tabella dei riferimenti incrociati dichiara pi\xF9 voci di quante il file ne contenga");
        if (first + count - 1 > kMaxObjectNumber) refuse("numero di oggetto troppo alto");
        const std::size_t needed = entries_.size() + static_cast<std::size_t>(count);
        if (needed > entries_.capacity()) entries_.reserve(std::min(most, std::max(needed, entries_.capacity() * 2)));
        for (std::int64_t i = 0; i < count; ++i) {
            std::int64_t entry_offset = 0, generation = 0;
            if (!c.unsigned_integer(entry_offset) || !c.unsigned_integer(generation)) {
                refuse("voce dei riferimenti incrociati non valida");
            }
            const bool in_use = c.keyword("n");
            if (!in_use && !c.keyword("f")) refuse("voce dei riferimenti incrociati non valida");
            if (in_use && generation > 65535) refuse("voce dei riferimenti incrociati non valida");
            Entry entry;
            entry.number = static_cast<std::uint32_t>(first + i);
            entry.offset = static_cast<std::uint32_t>(in_use ? std::min<std::int64_t>(entry_offset, UINT32_MAX) : 0);
            entry.generation = static_cast<std::uint16_t>(std::min<std::int64_t>(generation, 65535));
            entry.in_use = in_use;
            entries_.push_back(entry);
        }
    }
    PdfValue trailer = parse_value(c, budget);
    if (!trailer.is(PdfValue::Kind::dictionary)) refuse("il trailer non \xE8 un dizionario");
    done_with(bytes_.substr(offset, c.pos() - offset));
    return trailer;
}

const PdfFile::Entry* PdfFile::entry(std::int64_t number) const {
    if (number <= 0 || number > kMaxObjectNumber) return nullptr;
    const auto found = std::lower_bound(entries_.begin(), entries_.end(), number,
                                        [](const Entry& e, std::int64_t n) { return e.number < n; });
    return found != entries_.end() && found->number == number ? &*found : nullptr;
}

bool PdfFile::exists(std::int64_t number, std::int32_t generation) const {
    const Entry* e = entry(number);
    return e != nullptr && e->in_use && e->generation == generation;
}

std::shared_ptr<const PdfObject> PdfFile::object(std::int64_t number, std::int32_t generation) {
    static const auto null_object = std::make_shared<const PdfObject>();
    if (!exists(number, generation)) return null_object;
    if (encrypted_) refuse("file cifrato");
    if (const auto found = cache_.find(number); found != cache_.end()) return found->second;
    if (std::find(reading_.begin(), reading_.end(), number) != reading_.end())
        refuse("/Length di uno stream riferita allo stream stesso");
    if (reading_.size() >= kMaxLengthNesting) refuse("catena di /Length troppo lunga");
    reading_.push_back(number);
    std::shared_ptr<const PdfObject> read;
    try {
        read = read_object(number, *entry(number));
    } catch (...) {
        reading_.pop_back();
        throw;
    }
    reading_.pop_back();
    return read;
}

std::shared_ptr<const PdfObject> PdfFile::read_object(std::int64_t number, const Entry& entry) {
    PdfCursor c(bytes_, entry.offset);
    std::int64_t found_number = 0, found_generation = 0;
    if (!c.unsigned_integer(found_number) || !c.unsigned_integer(found_generation) || !c.keyword("obj"))
        refuse("all'indirizzo " + of_object(number) + " non c'\xE8 un oggetto");
    if (found_number != number || found_generation != entry.generation)
        refuse("all'indirizzo " + of_object(number) + " c'\xE8 " + object_name(found_number));

    // The cache makes way before the budget gets short; what callers hold
    // still counts.
    if (*live_bytes_ > kMaxParsedBytes / 2) cache_.clear();
    if (*live_bytes_ + kObjectOverhead > kMaxParsedBytes)
        refuse("oggetti troppo grandi per la memoria concessa alla lettura");
    PdfParseBudget budget(kMaxParsedBytes - *live_bytes_ - kObjectOverhead);
    const std::size_t given = budget.left();
    PdfValue value = parse_value(c, budget);

    // Counted from here on, so that a /Length read next sees what this one
    // holds.
    const std::shared_ptr<std::size_t> live = live_bytes_;
    const std::size_t bytes = given - budget.left() + kObjectOverhead;
    std::shared_ptr<PdfObject> object(new PdfObject{std::move(value), false, 0, 0, bytes}, [live](const PdfObject* gone) {
        *live -= gone->bytes;
        delete gone;
    });
    *live_bytes_ += object->bytes;
    if (c.keyword("stream")) {
        if (!object->value.is(PdfValue::Kind::dictionary)) refuse(object_name(number) + ": stream senza dizionario");
        // The keyword is followed by CR LF or LF (a lone CR is tolerated).
        if (c.peek() == '\r') c.next();
        if (c.peek() == '\n') c.next();
        const std::size_t start = c.pos();
        const std::size_t length = stream_length(object->value, number);
        if (length > bytes_.size() - start) truncated("lo stream " + of_object(number) + " va oltre la fine del file");
        c.seek(start + length);
        if (!c.keyword("endstream")) refuse("/Length errata per lo stream " + of_object(number));
        object->has_stream = true;
        object->data_offset = start;
        object->data_size = length;
    }
    if (!c.keyword("endobj")) {
        c.skip_space();
        if (c.at_end()) truncated("il file finisce dentro " + object_name(number));
        refuse("manca endobj dopo " + object_name(number));
    }
    done_with(bytes_.substr(entry.offset, c.pos() - entry.offset));
    cache_[number] = object;
    return object;
}

std::size_t PdfFile::stream_length(const PdfValue& dict, std::int64_t number) {
    const PdfValue* length = dict.find("Length");
    if (!length) refuse("stream senza /Length (" + object_name(number) + ")");
    std::int64_t value = length->integer;
    bool valid = length->is(PdfValue::Kind::integer);
    if (length->is(PdfValue::Kind::reference)) {
        const auto end = referred(length->integer, length->generation).object;
        valid = end->value.is(PdfValue::Kind::integer);
        value = end->value.integer;
    }
    if (!valid || value < 0) refuse("/Length non valida per lo stream " + of_object(number));
    return static_cast<std::size_t>(value);
}

std::string_view PdfFile::stream_data(const PdfObject& object) const {
    return bytes_.substr(object.data_offset, object.data_size);
}

PdfFile::Referred PdfFile::referred(std::int64_t number, std::int32_t generation) {
    Referred found{{number, generation}, object(number, generation)};
    for (int references = 1; found.object->value.is(PdfValue::Kind::reference); ++references) {
        const PdfValue& next = found.object->value;
        // Past the limit the value is unknown: taking it as null would pass
        // a page off as one without resources or content.
        if (references == kMaxReferenceChain)
            refuse("catena di riferimenti oltre " + std::to_string(kMaxReferenceChain) + " (" +
                   object_name(next.integer) + ")");
        found.id = {next.integer, next.generation};
        found.object = object(next.integer, next.generation);
    }
    return found;
}

PdfValueHandle PdfFile::resolve(const PdfValue& value) {
    if (!value.is(PdfValue::Kind::reference)) return PdfValueHandle(std::shared_ptr<const void>(), &value);
    const std::shared_ptr<const PdfObject> end = referred(value.integer, value.generation).object;
    return PdfValueHandle(end, &end->value);
}

const std::vector<PdfObjectId>& PdfFile::pages() {
    if (pages_walked_) return pages_;
    const PdfValueHandle root = resolve(root_);
    if (!root->is(PdfValue::Kind::dictionary)) refuse("catalogo del documento (/Root) mancante");
    std::vector<std::pair<PdfObjectId, int>> stack;
    std::unordered_set<std::int64_t> visited;
    // Without its page tree the file is no document: saying "0 pages" would
    // pass a broken file off as an empty one.
    const PdfValue* top = root->find("Pages");
    if (!top || !top->is(PdfValue::Kind::reference)) refuse("catalogo senza albero delle pagine (/Pages)");
    stack.push_back({{top->integer, top->generation}, 0});
    while (!stack.empty()) {
        const auto [kid, depth] = stack.back();
        stack.pop_back();
        if (depth > kMaxTreeDepth) refuse("albero delle pagine troppo profondo");
        const auto [id, node] = referred(kid.number, kid.generation);
        // A node reached a second time (a loop, or a page listed twice) is
        // walked once.
        if (!visited.insert(id.number).second) continue;
        const PdfValue* type = node->value.find("Type");
        if (!type || !type->is(PdfValue::Kind::name)) continue;
        if (type->text == "Page") {
            pages_.push_back(id);
        } else if (type->text == "Pages") {
            const PdfValue* kids_entry = node->value.find("Kids");
            if (!kids_entry) continue;
            const PdfValueHandle kids = resolve(*kids_entry);
            for (auto kid = kids->items.rbegin(); kid != kids->items.rend(); ++kid) {
                if (kid->is(PdfValue::Kind::reference)) stack.push_back({{kid->integer, kid->generation}, depth + 1});
            }
        }
    }
    pages_walked_ = true;
    return pages_;
}

PdfValueHandle PdfFile::inherited(PdfObjectId page, std::string_view key) {
    std::unordered_set<std::int64_t> visited;
    PdfObjectId id = page;
    for (int depth = 0; depth <= kMaxTreeDepth; ++depth) {
        const auto [node_id, node] = referred(id.number, id.generation);
        if (!visited.insert(node_id.number).second) break;
        if (const PdfValue* value = node->value.find(key)) {
            const PdfValueHandle resolved = resolve(*value);
            // A direct value is the node's: the node keeps it alive.
            return resolved.get() == value ? PdfValueHandle(node, value) : resolved;
        }
        const PdfValue* parent = node->value.find("Parent");
        if (!parent || !parent->is(PdfValue::Kind::reference)) break;
        id = {parent->integer, parent->generation};
    }
    return nullptr;
}

void PdfFile::rest() {
    if (*live_bytes_ > kRestingParsedBytes) cache_.clear();
}

}  // namespace pdf
