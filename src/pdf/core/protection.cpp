// The standard security handler: RC4 encryption with keys derived by MD5,
// 40-bit keys (revision 2) or 128-bit keys (revision 3).
#include <algorithm>
#include <cstring>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"
#include "pdf/core/md5.h"
#include "pdf/core/rc4.h"
#include "pdf/core/text_utils.h"

namespace {

// The 32-byte padding of the standard security handler's passwords.
constexpr unsigned char password_padding_bytes[32] = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

std::string_view password_padding() {
    return std::string_view(reinterpret_cast<const char*>(password_padding_bytes), 32);
}

// The password's first 32 bytes, filled up with the padding.
std::string padded_password(std::string_view password) {
    std::string padded(password.substr(0, 32));
    padded.append(password_padding().substr(0, 32 - padded.size()));
    return padded;
}

std::string md5_of(std::initializer_list<std::string_view> pieces) {
    pdf::Md5 md5;
    for (auto piece : pieces) md5.update(piece);
    const auto digest = md5.finish();
    return std::string(reinterpret_cast<const char*>(digest.data()), digest.size());
}

std::string with_each_byte_xored(std::string_view key, int value) {
    std::string out(key);
    for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ value);
    return out;
}

// Algorithm 3.3/3.5's nineteen extra passes of revision 3: RC4 with the key
// XORed with 1 to 19.
std::string rc4_twenty_passes(std::string_view key, std::string_view data) {
    std::string x = pdf::rc4_crypt(key, data);
    for (int i = 1; i <= 19; ++i) x = pdf::rc4_crypt(with_each_byte_xored(key, i), x);
    return x;
}

}  // namespace

void PdfWriter::SetProtection(std::int32_t Mode, std::string_view OwnerPwd, std::string_view UserPwd) {
    // Objects already in the file stay unencrypted, so protection from here
    // on would give a half-encrypted document that readers cannot open:
    // refused, and nothing changes.
    if (OutputFile != nullptr && LastObjectNumber > 3)
        RaiseError(5, "SetProtection",
                   pdf::error_text(5) + " - protection must be set before the document's first object");

    const std::string owner(pdf::trim_blanks(OwnerPwd).empty() ? UserPwd : OwnerPwd);
    ProtectionOn = true;
    const std::string user32 = padded_password(UserPwd);
    const std::string owner32 = padded_password(owner);
    FileIdentifier = pdf::concat({DocInfo.Producer, Version()});

    char permissions[4];
    if (Mode & 4096) {
        ObjectKeyLength = 16;
        RequireVersion(1);
        const auto v = static_cast<std::uint16_t>((Mode & 4095) - 3904);
        permissions[0] = static_cast<char>(v & 0xFF);
        permissions[1] = static_cast<char>(v >> 8);
        permissions[2] = permissions[3] = static_cast<char>(0xFF);

        std::string h = md5_of({owner32});
        for (int i = 0; i < 50; ++i) h = md5_of({h});
        OwnerEntry = rc4_twenty_passes(h, user32);

        std::string key = md5_of({user32, OwnerEntry, std::string_view(permissions, 4), FileIdentifier});
        for (int i = 0; i < 50; ++i) key = md5_of({key});
        EncryptionKey = key;

        UserEntry = rc4_twenty_passes(EncryptionKey, md5_of({password_padding(), FileIdentifier}));
        UserEntry.append(16, ' ');
    } else {
        ObjectKeyLength = 10;
        permissions[0] = static_cast<char>(static_cast<std::uint8_t>(static_cast<std::uint32_t>(Mode) + 192));
        permissions[1] = permissions[2] = permissions[3] = static_cast<char>(0xFF);

        OwnerEntry = pdf::rc4_crypt(md5_of({owner32}).substr(0, 5), user32);
        EncryptionKey =
            md5_of({user32, OwnerEntry, std::string_view(permissions, 4), FileIdentifier}).substr(0, 5);
        UserEntry = pdf::rc4_crypt(EncryptionKey, password_padding());
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(permissions[i]);
    PermissionValue = static_cast<std::int32_t>(value);
}

std::string PdfWriter::ObjectKey(std::int32_t& ObjectNumber) {
    if (ObjectNumber == 0) ObjectNumber = CurrentObjectNumber;
    const auto n = static_cast<std::uint32_t>(ObjectNumber);
    const char object_bytes[5] = {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                                  static_cast<char>((n >> 16) & 0xFF), 0, 0};
    return md5_of({EncryptionKey, std::string_view(object_bytes, 5)}).substr(0, ObjectKeyLength);
}

pdf::Bytes PdfWriter::RC4Crypt(std::string_view Key, const pdf::Bytes& Data, std::int32_t LastIndex) {
    // The schedule of the last key is kept: the strings of one object share it.
    if (Key != CachedRC4Key || CachedRC4Key.empty()) {
        CachedRC4State = pdf::rc4_key_schedule(Key).s;
        CachedRC4Key.assign(Key);
    }
    if (LastIndex == 0) LastIndex = static_cast<std::int32_t>(Data.size()) - 1;
    const std::size_t count =
        std::min(Data.size(), LastIndex < 0 ? std::size_t{0} : static_cast<std::size_t>(LastIndex) + 1);
    pdf::Bytes out(count);
    pdf::rc4_apply(pdf::Rc4Schedule{CachedRC4State}, Data.data(), out.data(), count);
    return out;
}

pdf::Rc4Schedule PdfWriter::ObjectSchedule(std::int32_t ObjectNumber) {
    const std::string key = ObjectKey(ObjectNumber);
    if (key != CachedRC4Key || CachedRC4Key.empty()) {
        CachedRC4State = pdf::rc4_key_schedule(key).s;
        CachedRC4Key = key;
    }
    return pdf::Rc4Schedule{CachedRC4State};
}

// In place: an imported stream can be large.
void PdfWriter::EncryptStreamData(pdf::Bytes& Data, std::int32_t ObjectNumber) {
    pdf::rc4_apply(ObjectSchedule(ObjectNumber), Data.data(), Data.data(), Data.size());
}

std::string PdfWriter::EncryptLiteralText(std::string_view text) {
    std::int32_t current = 0;
    const pdf::Bytes encrypted = RC4Crypt(ObjectKey(current), pdf::Bytes(text.begin(), text.end()), 0);
    return std::string(encrypted.begin(), encrypted.end());
}

std::int32_t PdfWriter::WriteEncryptionDictionary() {
    const std::int32_t e = WriteObjStart(0);
    WriteLine(pdf::concat({"<< /Filter /Standard \r/O (", pdf::escape_string(OwnerEntry), ")\r/U (",
                           pdf::escape_string(UserEntry), ")\r/P ", std::to_string(PermissionValue), "\r",
                           ObjectKeyLength == 10 ? "/V 1 /R 2 >>" : "/V 2 /R 3 /Length 128 >>"}));
    WriteObjEnd();
    return e;
}
