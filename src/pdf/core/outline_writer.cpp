// The document end's outline: one outline dictionary and one item object per
// bookmark entry, the title entry as the single top item.
#include "pdf/PdfWriter.h"
#include "pdf/core/outline_tree.h"

std::int32_t PdfWriter::WriteOutlines() {
    if (OutlineCount < 2 || static_cast<std::size_t>(OutlineCount) >= OutlineEntries.size()) return 0;
    const auto count = static_cast<std::size_t>(OutlineCount);

    std::vector<std::int16_t> levels(count + 1, 0);
    for (std::size_t i = 1; i <= count; ++i) levels[i] = OutlineEntries[i].Level;
    const pdf::OutlineTree tree = pdf::link_outline(levels);

    const std::int32_t base = LastObjectNumber + 1;
    auto object_of = [base](std::int32_t index) { return index == 0 ? 0 : base + index; };
    for (std::size_t i = 1; i <= count; ++i) {
        OutlineEntry& entry = OutlineEntries[i];
        const pdf::OutlineLinks& links = tree.links[i];
        entry.ItemObject = base + static_cast<std::int32_t>(i);
        entry.ParentObject = i == 1 ? base : object_of(links.parent);
        entry.FirstObject = object_of(links.first);
        entry.LastObject = object_of(links.last);
        entry.NextObject = object_of(links.next);
        entry.PrevObject = object_of(links.prev);
    }

    WriteObjStart(base);
    const std::string top = std::to_string(base + 1) + " 0 R";
    WriteLine("<< /Count 1 /First " + top + " /Last " + top + " >>");
    WriteObjEnd();

    auto ref = [](std::int32_t n) { return std::to_string(n) + " 0 R"; };
    for (std::size_t i = 1; i <= count; ++i) {
        const OutlineEntry& entry = OutlineEntries[i];
        WriteObjStart(entry.ItemObject);
        std::string item;
        BufferReset(item);
        BufferAppend(item, "<< /Title " + PdfTextString(entry.Caption) + "\r");
        BufferAppend(item, "/Parent " + ref(entry.ParentObject) + "\r");
        if (entry.FirstObject != 0) BufferAppend(item, "/First " + ref(entry.FirstObject) + "\r");
        if (entry.LastObject != 0) BufferAppend(item, "/Last " + ref(entry.LastObject) + "\r");
        if (entry.PrevObject != 0) BufferAppend(item, "/Prev " + ref(entry.PrevObject) + "\r");
        if (entry.NextObject != 0) BufferAppend(item, "/Next " + ref(entry.NextObject) + "\r");
        if (i == 1 && tree.top_count != 0) BufferAppend(item, "/Count " + std::to_string(tree.top_count) + "\r");
        if (!entry.Destination.empty() && PageCount >= 1 &&
            static_cast<std::size_t>(PageCount) < PageObjects.size()) {
            // An entry's page is always one of this document's pages, even
            // when the list outlived the pages it was made for.
            std::int32_t page = entry.Page;
            if (page > PageCount) page = PageCount;
            if (page < 1) page = 1;
            BufferAppend(item, "/Dest [" + ref(PageObjects[static_cast<std::size_t>(page)]) + " " +
                                   entry.Destination + "]\r");
        }
        if (!entry.ColorComponents.empty()) BufferAppend(item, "/C [" + entry.ColorComponents + "]\r");
        if (entry.StyleFlags != 0) BufferAppend(item, "/F " + std::to_string(entry.StyleFlags) + "\r");
        BufferAppend(item, ">>");
        WriteLine(BufferText(item));
        WriteObjEnd();
    }
    return base;
}
