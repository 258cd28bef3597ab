#include "pdf/core/xmp.h"

#include "common/cp1252.h"

namespace pdf {
namespace {

std::string xml_text(std::string_view cp1252) {
    const std::string utf8 = cp1252_a_utf8(cp1252);
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // Control bytes other than tab, CR and LF are not allowed in
                // XML 1.0 at all, not even escaped.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') {
                    out += ' ';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace

std::string build_xmp_packet(const XmpFields& f) {
    const std::string title = xml_text(f.title), subject = xml_text(f.subject), keywords = xml_text(f.keywords),
                      author = xml_text(f.author), creator = xml_text(f.creator), producer = xml_text(f.producer),
                      date = xml_text(f.creation_date);
    const std::string lines[] = {
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' xmlns:iX='http://ns.adobe.com/iX/1.0/'>",
        " <rdf:Description about='' xmlns='http://ns.adobe.com/pdf/1.3/' xmlns:pdf='http://ns.adobe.com/pdf/1.3/'>",
        "  <pdf:Producer>" + producer + "</pdf:Producer>",
        "  <pdf:Author>" + author + "</pdf:Author>",
        "  <pdf:Creator>" + creator + "</pdf:Creator>",
        "  <pdf:ModDate>" + date + "</pdf:ModDate>",
        "  <pdf:Title>" + title + "</pdf:Title>",
        "  <pdf:CreationDate>" + date + "</pdf:CreationDate>",
        "  <pdf:Subject>" + subject + "</pdf:Subject>",
        "  <pdf:Keywords>" + keywords + "</pdf:Keywords>",
        " </rdf:Description>",
        " <rdf:Description about='' xmlns='http://ns.adobe.com/xap/1.0/' xmlns:xap='http://ns.adobe.com/xap/1.0/'>",
        "  <xap:Author>" + author + "</xap:Author>",
        "  <xap:ModifyDate>" + date + "</xap:ModifyDate>",
        "  <xap:Title>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + title + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Title>",
        "  <xap:CreateDate>" + date + "</xap:CreateDate>",
        "  <xap:Description>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + subject + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Description>",
        "  <xap:MetadataDate>" + date + "</xap:MetadataDate>",
        " </rdf:Description>",
        " <rdf:Description about='' xmlns='http://purl.org/dc/elements/1.1/' xmlns:dc='http://purl.org/dc/elements/1.1/'>",
        "  <dc:creator>" + creator + "</dc:creator>",
        "  <dc:title>" + title + "</dc:title>",
        "  <dc:description>" + subject + "</dc:description>",
        " </rdf:Description>",
        "</rdf:RDF>",
        "<?xpacket end='r'?>",
    };
    std::string body;
    for (const auto& line : lines) {
        if (!body.empty()) body += '\r';
        body += line;
    }
    return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) + "'?>\r" +
           body;
}

}  // namespace pdf
