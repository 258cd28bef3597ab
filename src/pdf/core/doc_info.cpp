// Document information: the seven texts written twice by the document end,
// as the information dictionary and as the XMP packet.
#include "pdf/PdfWriter.h"
#include "pdf/core/xmp.h"

void PdfWriter::SetDocProperty(std::string_view DocTitle, std::string_view DocSubject, std::string_view DocAuthor,
                               std::string_view DocCreator, std::string_view DocProducer,
                               std::string_view DocKeywords) {
    DocInfo.Title = std::string(DocTitle);
    // The outline's root entry always carries the title.
    if (OutlineEntries.size() > 1) OutlineEntries[1].Caption = DocInfo.Title;
    DocInfo.Subject = std::string(DocSubject);
    DocInfo.Keywords = std::string(DocKeywords);
    if (!DocAuthor.empty()) DocInfo.Author = std::string(DocAuthor);
    if (!DocCreator.empty()) DocInfo.Creator = std::string(DocCreator);
    if (!DocProducer.empty()) DocInfo.Producer = std::string(DocProducer);
}

std::string PdfWriter::BuildXmpMetadata() const {
    return pdf::build_xmp_packet({DocInfo.Title, DocInfo.Subject, DocInfo.Keywords, DocInfo.Author, DocInfo.Creator,
                                  DocInfo.Producer, DocInfo.CreationDate});
}
