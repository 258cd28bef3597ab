// PdfWriter: the one class through which the program writes PDF files.
//
// One instance writes one document at a time, strictly front to back, straight
// to disk: create it, set it up (SetScale, SetPaperSize, SetMargins,
// SetProtection), BeginDoc, draw page after page (BeginPage ... EndPage),
// EndDoc, look at ErrNumber, and OpenDoc to show the result.
//
// Conventions of the whole interface
// - Every text is a std::string / std::string_view of Windows-1252 bytes; each
//   byte is written to the file as it stands. A byte 0 is an ordinary byte.
// - Lengths and coordinates are in the unit chosen with SetScale, measured from
//   the top-left corner of the margin box, x to the right, y downwards.
// - Colours are texts: a colour name ("Black", "RED"), "#RRGGBB", a grey
//   percentage ("%50"), components ("@255;128;0", "@C;M;Y;K") or the name of
//   a tiling pattern or gradient, optionally followed by ";" and the colour of
//   an uncoloured pattern.
// - Options of the drawing members: 1 no outline, 2 close the path, 4 fill,
//   128 clip as well.
// - Errors: BeginDoc, AddFont and the vector-image reader of DrawImage record
//   a failure in ErrNumber/ErrSource/ErrDescription and carry on. Every other
//   member reports a failure by throwing PdfError, carrying the same kind of
//   number (52 no open file, 53 file not found, 62 input past end of file,
//   6 overflow, 13 type mismatch, 321 invalid file format, ...), the source
//   "PdfWriter.<member>" naming the member the program called (also when
//   the failure lies in a member or routine it calls) and a description.
// - Numbers written into the file never depend on the locale, never carry an
//   exponent, and are never "nan", "inf" or "-0": a non-finite value is
//   refused (PdfError 5) before anything of its line is written.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pdf/core/content_text.h"

namespace pdf {

// Stream data: bytes written unchanged.
using Bytes = std::vector<std::uint8_t>;

struct RasterPicture;
struct Rc4Schedule;
struct StreamPieces;
struct TextScale;
// A PDF file read for page import (extras/imported_file.h).
struct ImportedFile;

// The memory one GetInfo or ImportPage call may take above what the program
// held before, for a source file of `file_size` bytes: 100 MB plus four
// times the file, never more than 512 MB. In it: the file's pages being read
// (the file is mapped read-only, never copied; its pages go back to the
// system as they are read, at most 4 MiB of them staying besides an object
// being parsed or a stream being decoded), the file's object index (12
// bytes per entry its cross-reference tables list, each at least 18 bytes
// of the file), the values parsed from it (at most 32 MiB at once, refused
// beyond), one copy of a stream to encrypt it, and for a page whose content
// is split over several streams, that content decoded into one buffer (at
// most 32 MiB, refused beyond) and, when the document compresses its
// streams, encoded again. Between two calls a file read keeps its index,
// its page list, at most 4 MiB of parsed values and 4 MiB of its pages.
constexpr std::uint64_t import_memory_budget(std::uint64_t file_size) {
    const std::uint64_t budget = 100'000'000 + 4 * file_size;
    return budget < 512'000'000 ? budget : 512'000'000;
}

// While one lives, the documents this thread begins (BeginDoc) are written
// readable and writable by their owner only (0600) from their first byte,
// and a file one replaces is left so too, whatever it allowed: for
// documents that carry personal data. Without one, a new document gets the
// permissions any new file of the user gets (the umask decides) and a
// replaced file keeps its own.
class OwnerOnlyOutput {
public:
    OwnerOnlyOutput();
    ~OwnerOnlyOutput();
    OwnerOnlyOutput(const OwnerOnlyOutput&) = delete;
    OwnerOnlyOutput& operator=(const OwnerOnlyOutput&) = delete;
};

}  // namespace pdf

// The failure a member lets reach its caller.
class PdfError : public std::runtime_error {
public:
    PdfError(std::int32_t number, std::string source, std::string description);

    // The error number (52 bad file name or number, 53 file not found, ...).
    std::int32_t number() const noexcept { return number_; }
    // "PdfWriter." followed by the member that failed.
    const std::string& source() const noexcept { return source_; }
    // What went wrong (Windows-1252 text).
    const std::string& description() const noexcept { return description_; }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

class PdfWriter {
public:
    PdfWriter();
    // Drops an output file that is still open, as Abort does.
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // ---- The 92 public members, in the order of the class's member table ----

    // Returns the instance to its created state; an open output file is
    // dropped (its temporary file removed, the final name untouched). Keeps
    // ErrSource and ErrDescription.
    void Abort();
    // Appends an outline entry under the title entry that every document
    // has, pointing at the current page (page 1 before any page). Level: -1
    // one deeper than the last entry, 0 the same (but never the title's own
    // level 0), else the level, at most one deeper than the last entry.
    // TypeOfBookmark: 0 fit the page, 1 fit its width at X, 2 its height at
    // Y, 3 the rectangle X, Y, Width, Height, 4 the point X, Y at Zoom
    // percent, other codes no view. Color: a plain colour (a pattern is
    // refused with PdfError 13, adding nothing). FontStyle: 1 bold, 2 italic.
    // Returns the handle "@" + the entry's number, or an empty text when the
    // entry would lie deeper than level 254 (nothing is added).
    std::string AddBookmark(std::string_view Caption, std::int16_t Level = 0, std::int32_t TypeOfBookmark = 0,
                            float X = 0, float Y = 0, float Width = 0, float Height = 0, float Zoom = 0,
                            std::string_view Color = {}, std::int32_t FontStyle = 0);
    // Places a form field on the open page (written at EndPage). FieldType:
    // 0 text, 1 check box, 2 list, 3 combo box, 4 radio button, 5 push
    // button. Value: the text, "true" for a ticked box, the "|"-separated
    // options, or the button's caption. Param: the maximum length, the
    // default option or the push button's script. A type outside 0-5 (a
    // widget without a type is no field) is refused with PdfError 5, and a
    // pattern as the text colour (no reader could show the field) with
    // PdfError 13; either way nothing is added or written. The field's
    // background is the fill colour in force at the call, its border the
    // line colour (a pattern, or Options 4 and 16384, leave them out), its
    // text the text colour. After BeginPage all three are black: a check box
    // then shows black whether ticked or not, and a text field's value is
    // black on black, until a lighter fill colour is set before AddField
    // (SetColorFill("White")).
    void AddField(std::string& FieldName, std::int32_t& FieldType, float X, float Y, float XDim, float YDim,
                  std::string_view Value, std::string_view Param = "0", std::string_view Tooltip = {},
                  std::int32_t Options = 0);
    // Reads a TrueType file (the path's bytes go to the system unchanged) and
    // writes its font objects at once, the file embedded unless Embedded is
    // false; Encoding 1 is MacRoman, any other value WinAnsi. Returns the name
    // SetFont selects it by: FontAlias, else the font's full name without
    // blanks. The same file under the same name again returns the name and
    // writes nothing. A file that cannot be used, or a name another font
    // holds, adds and writes nothing and returns "", the error recorded (53
    // missing file, 62 cut short, 321 not a usable TrueType font, 5 name in
    // use, 52 no document open).
    std::string AddFont(std::string_view TTFFile, std::string_view FontAlias = {}, bool Embedded = true,
                        std::int32_t Encoding = 0);
    void AddGradient(std::string_view Alias, std::int32_t Style, std::string_view StartColor,
                     std::string_view EndColor, float XStart, float YStart, float XEnd, float YEnd,
                     float RStart = 0, float REnd = 0, bool ExtendBefore = false, bool ExtendAfter = false);
    void AddNoteBox(std::string_view Text, float X, float Y, float Width, float Height, std::int32_t TextAlign = 1,
                    std::int32_t Border = 0, float DashOn = 1.0f, float DashOff = 1.0f, std::int32_t Flag = 0);
    void AddNoteIcon(std::string_view Text, std::int32_t Icon, float X, float Y, bool Opened = true,
                     std::int32_t Flag = 0);
    void AxisRotation(float Angle);
    void AxisScaling(float ScaleX, float ScaleY);
    void AxisSkewing(float AngleX, float AngleY);
    void AxisTranslation(float TranslateX, float TranslateY);
    void BeginColumn(float Width);
    // Opens the output file and writes the header; returns the name opened
    // (a generated "~<hex>.pdf" in the current folder when the argument is
    // empty). The name is the operating system's path bytes, used as they
    // are. The document is written to a temporary file in the same folder
    // and takes the name only at EndDoc. Never throws: a failure is recorded
    // (ErrNumber 52); while a document is open the call is refused (ErrNumber
    // 55, nothing changes, returns ""). Success clears ErrNumber.
    std::string BeginDoc(std::string_view strFileName = {});
    // Marks the content that follows (on the page, or in the object or
    // pattern being recorded) as belonging to layer Layer, known by its name
    // in any letter case; the first call for a name sets whether the layer
    // is visible at opening and listed in the viewer's layer panel. The
    // names "SCREEN" and "PRINTER" (upper case) make a layer shown only on
    // screen or only in print.
    void BeginLayer(std::string_view Layer, bool StartState = true, bool ShowInList = true);
    // Starts recording a reusable object. Options: 1 first page, 2 even pages,
    // 4 odd pages, 8 not on the first page, 16 over the page's content. An
    // alias used again makes a new object under a resource of its own
    // (alias_2, ...): pages that painted the earlier one keep it, and once
    // the new one is written, PlayObject and the automatic placement of the
    // pages to come use it instead of the earlier one.
    void BeginObject(std::string_view Alias, std::int32_t Options = 0);
    // Ends an open page, opens a new one and returns its number (from 1).
    std::int32_t BeginPage();
    void BeginRow(float Height);
    void BeginSpace(float NewX = 0, float NewY = 0, float ScaleX = 1.0f, float ScaleY = 1.0f, float Angle = 0);
    // Opens a table at (X, Y): rows of column cells or columns of row cells
    // follow, one level deep. Refused inside an open cell (PdfError 55, as a
    // document begun while one is open; nothing written). A table left open
    // at a page end goes on on the next page at the same X: its next row or
    // column, or the rest of the row or column left open, starts at the top
    // of the new page's content (Y 0), and the rows go on from there. A page
    // that ends inside an open cell closes the cell's local space with it:
    // the rest of that cell's content is drawn unplaced, and the table goes
    // on from the old page's positions.
    void BeginTable(float X, float Y);
    // Style is read only (0 coloured, 1 uncoloured pattern). What is drawn
    // inside the box (XMin, YMin)-(XMax, YMax), top-down as on a page, is
    // the cell. A name used again (by a pattern or a gradient) makes a new
    // pattern under a resource of its own: colours set before keep the
    // earlier one, colours set after it is written take the new one.
    void BeginTiling(std::string_view Alias, float XMin, float YMin, float XMax, float YMax, float XStep,
                     float YStep, const std::int32_t& Style = 0);
    // Names a place of the open page that "ref:" + RefName links jump to
    // (a link may come before or after it). TypeOfBookmark as for
    // AddBookmark; X and Y 0 take the current point. A name defined again
    // is moved: the document keeps one destination per name, the later one.
    void DefineRef(std::string_view RefName, std::int32_t TypeOfBookmark = 0, float X = 0, float Y = 0,
                   float Width = 0, float Height = 0, float Zoom = 0);
    void DrawArc(float X, float Y, float Ray, float StartAngle = 0.0f, float EndAngle = 360.0f, float Ratio = 1.0f,
                 bool Pie = false, std::int16_t Quality = 1, std::int32_t Options = 0);
    float DrawBarCode(std::int32_t BarCodeType, std::string_view Code, float& X, float& Y, bool ShowCode = true,
                      float ZoomFactor = 1.0f, float Height = 0.0f, bool AddCheck = false);
    void DrawCircle(float X, float Y, float Ray, std::int32_t Options = 0);
    void DrawCurve(std::int16_t CurveType, float X1, float Y1, float X2, float Y2, float X3 = 0, float Y3 = 0,
                   std::int32_t Options = 0);
    void DrawEllipse(float X, float Y, float XRay, float YRay, std::int32_t Options = 0);
    // Places a picture with its top-left corner at (DestX, DestY), chosen by
    // the name's ending: raster pictures (.gif, .bmp, .tga, .jpg) become an
    // image written once per file name, exactly as given, and frame; EPS/AI
    // and WMF drawings are translated at every call, and their failures are
    // recorded (321 also for a drawing the translator cannot follow: a
    // bitmap, a text, a shape it does not draw). A file's first bytes are
    // checked against the kind its name gives before the rest is read: a
    // file of another kind costs no more than them (321).
    // Memory budget of a raster picture: at most 2^26 pixels and a file of
    // 1 GiB; placing it costs its samples decoded once (1 byte a pixel for a
    // palette, 3 for RGB, at most 192 MiB), pieces of its file (1 MiB at
    // most), never the whole, and, when the document's streams are filtered,
    // the encoded stream and the encoders' working memory (at most some 12
    // MiB). A BMP or TGA is read no further than its pixel data (run-length
    // data no further than a picture of its size needs when each record
    // paints: longer ones are refused), a GIF to the end of its frame, a
    // JPEG to its scan and then copied into its stream piece by piece. The
    // samples are written from the buffer they were decoded into, never
    // copied. No raster file costs more than 512 MB to place.
    // Memory budget of a drawing of N bytes: from before the call until
    // EndPage has written the page, at most pdf::import_memory_budget(N)
    // (100 MB + 4N, never more than 512 MB) above what the writer held. In
    // it: the file, held once while it is translated (up to 495 MB), the
    // translator's own state (at most 16 MiB) and the operators, written
    // into the page's content as they are made; EndPage (EndObject,
    // EndTiling for a recording) writes that content out block by block,
    // letting each go once the stream filters and the encryption have taken
    // it: what RunLength, Flate and LZW put out takes the place of what they
    // took (operators come out shorter), their working memory (at most some
    // 12 MiB) that of the translator, and the ASCII filters and the
    // encryption write as they go. A drawing whose operators would pass
    // the budget (a metafile's are about 4 times its size, so metafiles
    // above about 100 MB) is refused with 321 and the content is cut back to
    // what it was.
    // A metafile's dashed pen leaves its gaps empty, where a metafile player
    // in its default opaque background mode paints them in the background
    // colour.
    void DrawImage(std::string_view Filename, float DestX, float DestY, float ImgWidth = 0, float ImgHeight = 0,
                   std::int16_t FrameNumber = 1, std::string_view ColorMask = {});
    void DrawLine(float X1, float Y1, float X2, float Y2, std::int32_t Options = 0);
    void DrawLineTo(float X, float Y, std::int32_t Options = 0);
    void DrawPolygon(float X, float Y, float Ray, std::int16_t Sides, std::int32_t Options = 0);
    // Points: x, y pairs.
    void DrawPolyline(std::vector<float>& Points, std::int32_t Options = 0);
    void DrawRect(float X, float Y, float XDim, float YDim, std::int32_t Options = 0, float Ray = 0,
                  std::int32_t RoundedCorner = 15);
    void DrawText(float X, float Y, std::string_view Text, std::int32_t Align = 1);
    // Lays Text out in the box; returns what did not fit (a leading byte 0
    // marks a paragraph cut in the middle).
    std::string DrawTextBox(float X, float Y, float Width, float Height, std::string_view Text,
                            float Indentation = 0.0f, std::int32_t Align = 9, std::int32_t Options = 1);
    void EndColumn();
    // Completes the file: open recordings, the open page, the shared
    // objects, the catalog, the information dictionary, the cross-reference
    // table and the trailer; then flushes it to disk and gives it its name.
    // Afterwards the writer holds no document (the settings stay) and is
    // ready for the next BeginDoc. On a failure the temporary file is
    // removed, the previous file keeps its name, and the error is thrown.
    void EndDoc();
    // Ends the innermost layer mark (nothing when no layer was ever begun).
    void EndLayer();
    // Writes the recorded reusable object; ignored when none is open.
    void EndObject();
    // Writes the open page, first ending the local spaces, tables and layer
    // marks its content left open; does nothing when no page is open.
    void EndPage();
    void EndRow();
    void EndSpace();
    // Ends the innermost table with whatever row or column is left open in
    // it, and brings back the drawing state from before it.
    void EndTable();
    // Writes the recorded tiling pattern; ignored when none is open.
    void EndTiling();
    std::string ErrDescription() const;
    std::int32_t ErrNumber() const;
    std::string ErrSource() const;
    // The length of the open output file, else the length at the last EndDoc.
    std::int32_t FileSize() const;
    // Reads another PDF file's page count and information (the two overloads
    // stand for the optional out-arguments). The texts come decoded for
    // display (escapes, PDFDocEncoding, UTF-16BE, and UTF-8 after its mark
    // EF BB BF whatever the file's version) into Windows-1252, a character
    // it cannot hold and each malformed sequence becoming "?": unlike the
    // rule of common/cp1252.h, since these are someone else's texts read to
    // be shown, never stored. Memory: pdf::import_memory_budget.
    std::int32_t GetInfo(std::string_view Filename);
    std::int32_t GetInfo(std::string_view Filename, std::string& PDFTitle, std::string& PDFSubject,
                         std::string& PDFAuthor, bool& PDFEncrypted);
    // The number of pages begun (the current page while one is open).
    std::int32_t GetPage() const;
    // Page size in user units, less the margins when KeepMargins is true.
    float GetPageHeight(bool KeepMargins = false) const;
    float GetPageWidth(bool KeepMargins = false) const;
    float GetX();
    float GetY();
    // Draws a page of another PDF file (read as GetInfo reads it) as a form
    // object. Memory: pdf::import_memory_budget.
    void ImportPage(std::string_view Filename, std::int32_t PageNumber, float DestX, float DestY, float XDim = 0,
                    float YDim = 0);
    void LinkTo(std::string_view Destination, std::int16_t BorderWidth = 0, std::int32_t OnMouseDown = 0,
                std::int32_t TypeOfLink = 0, float X = 0, float Y = 0, float Width = 0, float Height = 0,
                float Zoom = 0);
    void MoveTo(float X, float Y);
    // Adds Script to (or, with ResetScript, replaces) the script of an
    // event: 0 open page shown, 1 open page closed, 2 document opened, 3 will
    // close, 4 will print, 5 will save, 6 printed, 7 saved, 8 document-level
    // script. Page scripts belong to the page open at the call. Other types
    // are ignored.
    void OnDocEvent(std::int32_t EventType, std::string_view Script, bool ResetScript = false);
    void OnFieldEvent(std::int32_t& OnEvent, std::string& FieldName, std::string& Action);
    // Shows the written file in the desktop's PDF viewer and returns at once.
    void OpenDoc();
    // Paints the reusable object Name: the latest one written under that
    // alias (see BeginObject). Ignored while recording an object that Name
    // paints, itself or through the objects it paints: no reader can draw
    // an object that paints itself.
    void PlayObject(std::string_view Name);
    void SetAlpha(std::int16_t Value);
    void SetCharSpacing(float w);
    void SetColorFill(std::string_view Color);
    void SetColorLine(std::string_view Color);
    // Only remembered: the text writers paint each line in it.
    void SetColorText(std::string_view Color);
    // CompressionMode bits: 1 RunLength, 2 Flate, 4 LZW, 8 ASCII85, 16 ASCIIHex.
    void SetCompression(std::int32_t CompressionMode, std::uint8_t Quality = 3);
    void SetDash(std::string_view Pattern = {}, float Phase = 0);
    // Title, Subject and Keywords always; Author, Creator, Producer only when
    // not empty.
    void SetDocProperty(std::string_view DocTitle = {}, std::string_view DocSubject = {},
                        std::string_view DocAuthor = {}, std::string_view DocCreator = {},
                        std::string_view DocProducer = {}, std::string_view DocKeywords = {});
    void SetFont(std::string_view FontFamily, float Size = 0, std::int32_t Style = 0, std::int32_t Encoding = 0);
    void SetFontSize(float Points);
    // Starts a page-label range at the open page (else at the next page):
    // PageLabel 1 decimal, 2 upper Roman, 3 lower Roman, 4 upper letters,
    // 5 lower letters (other values add nothing); FirstValue -1 = from 1.
    void SetLabel(std::int32_t PageLabel, std::string_view LabelPrefix = {}, std::int16_t FirstValue = -1);
    // Style: join bits 0-7 (0 miter, 2 round, 4 bevel), cap bits 16-112
    // (0/16 butt, 32/48 round, 64/80 square).
    void SetLineStyle(std::int32_t Style, float MiterLimit = 0.0f);
    void SetLineWidth(float Width);
    // Margins in user units, kept in points; ClipPage clips to the margin box.
    void SetMargins(float Left = 0, float Right = 0, float Top = 0, float Bottom = 0, bool ClipPage = true);
    // Growth factor 1 to 10 of the writer's lists (0 counts as 1).
    void SetMemoryUsage(std::int16_t Value);
    // The effect (1..17; 0 none) shown when the open page, else every page
    // to come, is displayed, the effect's duration (TransTime) and how long
    // the page stays (ShowTime), in seconds. Pages to come keep it across
    // Abort.
    void SetPageTransition(std::int32_t Transition, float ShowTime = 1.0f, float TransTime = 1.0f);
    // Rotates the open page, else every page to come: 1 by 270 degrees,
    // 2 by 180, 3 by 90, other values not at all.
    void SetPageView(std::int32_t ViewMode);
    // -8..7 ISO A0..A7 (odd = landscape), 8..17 US sizes, 255 user size in
    // the current unit. Unknown codes and empty user sizes change nothing.
    void SetPaperSize(std::int32_t PaperSize, float UserWidth = 0, float UserHeight = 0);
    // Mode 4: print only, 40-bit keys; bit 4096: 128-bit keys.
    void SetProtection(std::int32_t Mode, std::string_view OwnerPwd = {}, std::string_view UserPwd = {});
    // 0 points, 1 inches, 2 millimetres, 3 centimetres, 255 UserFactor points
    // per unit (a factor that is not a positive finite number is refused).
    void SetScale(std::int32_t ScaleMode, float UserFactor = 1.0f);
    void SetTextHorizontalScaling(float Percent);
    void SetTextLineSpacing(float Value);
    void SetTextMode(std::int32_t Mode);
    // Page layout (8192 one column, 16384 two columns left, -32768 right),
    // page mode in the low 4 bits (1 full screen, 2 bookmarks panel, 4
    // thumbnails, 8 layers panel) and the flags 16 hide menu bar, 32 hide
    // toolbar, 64 hide window controls, 128 show the title, 256 centre the
    // window, 512 fit the window. Replaces the earlier value.
    void SetViewerPreferences(std::int32_t Mode);
    void SetWordSpacing(float w);
    void SetXY(float X, float Y);
    float TextHeight();
    float TextLength(std::string_view Phrase);
    // "2.4.4"
    std::string Version() const;
    void WriteText(std::string_view Text, std::int32_t TextStyle = 0, float PercenteSize = 66.0f);
    void WriteTextLn(std::string_view Text);
    // Flate-encodes the whole ByteArray in place (the incoming BufCount is
    // not read); BufCount receives the encoded length.
    void zzToFlateDecode(pdf::Bytes& ByteArray, std::int32_t& BufCount, std::uint8_t CompressionQuality);

private:
    // ======================= State =======================
    // Defaults are those Abort sets (the constructor calls Abort).

    // ---- Output file and objects ----
    // The open output file; nullptr when none is open (every write then
    // fails with error 52).
    std::FILE* OutputFile = nullptr;
    // What OutputFile really is: a temporary file beside ReplacedFileName,
    // renamed over it by EndDoc, so that the final name holds either its
    // previous contents or a complete document, never a torn one. Empty when
    // the output goes straight to FileName (a device such as /dev/null).
    std::string TemporaryFileName;
    // The file the document replaces: FileName, or the file its symbolic
    // links lead to (the links stay links).
    std::string ReplacedFileName;
    // The errno of the first write to OutputFile that failed, 0 while none
    // did: such a document is torn, every later write and its EndDoc fail.
    int WriteFailure = 0;
    // Bytes written to the open file so far: the offset of the next byte.
    std::int64_t BytesWritten = 0;
    // The output file's name as BeginDoc received it: the operating
    // system's path bytes, handed to it unchanged.
    std::string FileName;
    // Length of the file as EndDoc left it.
    std::int32_t FinalFileSize = 0;
    // Highest object number allocated; BeginDoc sets 3 (1 page tree, 2 page
    // resources, 3 resources of reusable objects and patterns, written last).
    std::int32_t LastObjectNumber = 0;
    // The object most recently started; its key encrypts literal strings.
    // Not reset by Abort.
    std::int32_t CurrentObjectNumber = 0;
    // Index = object number: the ready cross-reference line (19 bytes, CR
    // included; WriteLine adds the LF). Index 0 is never filled.
    std::vector<std::string> ObjectOffsets;
    // PDF minor version needed above 3; EndDoc rewrites the header's digit.
    std::int32_t RequiredMinorVersion = 0;
    // Growth factor (1..10) of the writer's lists.
    std::uint8_t MemoryFactor = 1;

    // ---- Pages ----
    std::int32_t PageCount = 0;
    // Index = page number: the page's object number, filled by EndPage.
    std::vector<std::int32_t> PageObjects;
    // The page tree's kids: "<p> 0 R " per finished page.
    std::string PageKids;
    bool PageOpen = false;
    bool ObjectOpen = false;  // a reusable object is being recorded
    bool TilingOpen = false;  // a tiling pattern is being recorded
    // Content buffers; each line is stored as CR + line.
    enum ContentBufferIndex { PageBuffer = 0, ObjectBuffer = 1, TilingBuffer = 2 };
    std::array<pdf::ContentText, 3> ContentBuffers;
    // Annotation references of the open page, "<n> 0 R " each.
    std::string PageAnnots;
    // Rotation code for pages to come, and of the open page (1 -> /Rotate 270,
    // 2 -> 180, 3 -> 90).
    std::int32_t ViewMode = 0;
    std::int32_t CurrentPageView = 0;
    std::string PageOpenScript;
    std::string PageCloseScript;
    // Transition for pages to come (not reset by Abort) and of the open page.
    std::string TransitionText;
    float TransitionDuration = 0;
    std::string PageTransitionText;
    float PageTransitionDuration = 0;
    // A form field waiting on the open page for EndPage.
    struct FieldRecord {
        std::string Head;            // start of the widget dictionary
        std::string Name;            // /T
        std::string Appearance;      // /DA
        std::string Characteristics; // inside /MK
        std::string Caption;         // /CA for types 1, 4, 5
        std::string Value;           // /V and /DV, or the options joined by "|"
        std::string Tooltip;         // /TU, may be empty
        std::string Actions;         // the additional actions (events), inside /AA
        bool Calculated = false;     // joins the /CO calculation order
        std::string Extra;           // appended as it is: the /A action text
        std::int16_t ChoiceIndex = 0;// from 1; 0 = none
        std::int32_t Type = 0;       // 0 text, 2/3 choice, 1/4/5 with caption
    };
    // The open page's fields (what the field members call FieldEntries and
    // FieldCount): entries 0 .. PageFieldCount-1 are in use; BeginPage sets
    // the count to 0.
    std::vector<FieldRecord> FieldEntries;
    std::int32_t PageFieldCount = 0;
    std::string FieldRefs;      // every field written, "<n> 0 R " each (AcroFormFields)
    std::string CalcOrderRefs;  // the calculated ones (CalculationOrder)
    // A free-text note was written: its appearance names a font that the
    // form's resources (/AcroForm /DR) must carry, fields or not.
    bool FreeTextNotes = false;
    // A check box or radio button was added: readers that build its look
    // themselves take the mark from the font the form's resources call
    // "ZaDb".
    bool CheckMarkFields = false;

    // ---- Units, paper and margins (points) ----
    float UnitFactor = 1.0f;
    float PageWidth = 596;
    float PageHeight = 842;
    struct MarginBox { float Left = 0, Right = 0, Top = 0, Bottom = 0; };
    MarginBox Margins;
    bool ClipPage = false;

    // ---- Graphics and text state ----
    std::string FillColor = "#FFFFFF";
    std::string FillPatternColour;   // not reset by Abort
    std::string LineColor = "#000000";
    std::string LinePatternColour;   // not reset by Abort
    std::string TextColor = "#000000";
    std::string TextPatternColour;
    float CurrentX = 0, CurrentY = 0;  // points
    float CharSpacing = 0;
    float WordSpacing = 0;
    float HorizontalScaling = 100.0f;
    float LineSpacing = 1.0f;
    float LineWidth = 0;  // points; not reset by Abort
    std::string CurrentFontName;
    float FontSize = 0;
    // The family as SetFont received it, its style bits (1 bold, 2 italic,
    // 4 underline, 8 upper rule, 16 strike-through) and the selected
    // FontTable index; an index outside 1..FontCount means no font.
    std::string CurrentFontFamily;
    std::int32_t FontStyle = 0;
    std::int32_t CurrentFontIndex = 0;
    // The last drawn item's rectangle, two corners in points, as given.
    std::array<float, 4> LastRect{};
    // Transparency states made so far (SetAlpha).
    std::int32_t GStateCount = 0;

    // ---- Resources collected for the document end ----
    struct FontRecord {
        std::string Key;           // upper-cased BaseFont, "MAC" in front for MacRoman
        bool IsTrueType = false;
        std::string BaseFont;
        std::array<std::int16_t, 256> Widths{};
        std::int16_t Height = 0;
        std::int32_t Descent = 0;
        std::int32_t Encoding = 0; // 1 MacRoman, else WinAnsi
        // The name after "/" in "Tf" and in the /Font resources; SetFont
        // selects it whatever the letter case it was asked with.
        std::string ResourceName;
        // ---- TrueType fonts (AddFont) ----
        // The file an added font was read from, as AddFont received it: the
        // same file added again under the same name is the same font.
        std::string SourceFile;
    };
    std::vector<FontRecord> FontTable;  // index 1..FontCount (0 unused)
    std::int32_t FontCount = 0;
    std::string FontResources;   // "/<name> <n> 0 R " per font
    struct ImageRecord {
        std::string Name;          // the file name exactly as given
        std::int32_t Width = 0;    // pixels
        std::int32_t Height = 0;
        std::int16_t Frame = 0;
    };
    std::vector<ImageRecord> ImageTable;  // index 1..ImageCount
    std::int32_t ImageCount = 0;
    std::string ImageResources;  // "/_IMG_<n> <obj> 0 R " per picture
    // Reusable objects (BeginObject ... EndObject).
    struct ObjectRecord {
        std::string Alias;
        // Its key in /XObject: the alias as a PDF name, numbered "_2", "_3"...
        // when an earlier object or picture holds that key.
        std::string ResourceName;
        std::string AnnotationRefs;  // annotations written while recording
        std::int32_t Options = 0;
        // The resource names of the objects it paints.
        std::vector<std::string> Plays;
        // A later object was written under the same alias and took its
        // place: PlayObject and the automatic placement use that one.
        bool Replaced = false;
    };
    std::vector<ObjectRecord> ObjectTable;  // index 1..ObjectCount
    std::int32_t ObjectCount = 0;
    // "/<alias> <n> 0 R " CR per reusable object or imported page: the
    // document's /XObject entries besides the images (XObjectResources).
    std::string ObjectResources;
    std::string PatternResources;  // "/<name> <n> 0 R " CR per pattern or gradient
    // Each pattern or gradient name, as the colour setters write it, to the
    // resource of its latest definition.
    std::unordered_map<std::string, std::string> PatternNames;
    std::string ExtGStateResources;
    // Tiling pattern being recorded.
    std::string TilingAlias;
    std::string TilingDictionary;
    bool UncolouredTiling = false;

    // ---- Outline, destinations, layers, labels ----
    struct OutlineEntry {
        std::string Caption;
        std::int16_t Level = 0;
        std::int32_t Page = 1;
        std::string ColorComponents;  // "r g b", empty = none
        std::int16_t StyleFlags = 0;  // 1 italic, 2 bold
        std::string Destination;      // after the page reference in /Dest
        std::int32_t ParentObject = 0, ItemObject = 0, FirstObject = 0, LastObject = 0, NextObject = 0,
                     PrevObject = 0;
    };
    std::vector<OutlineEntry> OutlineEntries;  // index 1..OutlineCount; 1 is the title
    std::int32_t OutlineCount = 0;
    struct DestinationRecord {
        std::int32_t Page = 0;  // -1 or past the end: last page; other negatives: page 1
        std::string View;
        std::string Name;       // the dictionary key
    };
    std::vector<DestinationRecord> DestinationEntries;  // index 1..DestinationCount
    std::int32_t DestinationCount = 0;
    struct LayerRecord {
        std::string Name;
        bool StartState = true;
        bool ShowInList = true;
    };
    std::vector<LayerRecord> LayerTable;  // index 1..LayerCount
    std::int32_t LayerCount = 0;
    // Each layer's number by its name upper-cased: BeginLayer finds a layer
    // in one look-up however many there are.
    std::unordered_map<std::string, std::int32_t> LayerNumbers;
    // Page-label ranges in call order; the catalog makes the prefixes into
    // strings (encrypted with its key under protection).
    struct PageLabelRange {
        std::int32_t PageIndex = 0;    // from 0
        std::string Style;             // " /S /D" ...
        std::string Prefix;            // as given, empty = none
        std::int16_t FirstValue = -1;  // -1 = no /St
    };
    std::vector<PageLabelRange> PageLabels;
    std::int32_t ViewerPreferences = 0;

    // ---- Document information ----
    struct DocumentInfo {
        std::string Title, Subject, Keywords, Author, Creator, Producer, CreationDate;
    };
    DocumentInfo DocInfo;
    // Document scripts (empty = none).
    std::string OpenActionScript, WillCloseScript, WillSaveScript, DidSaveScript, WillPrintScript,
        DidPrintScript, DocumentScript;

    // ---- Stream filters and protection ----
    std::int32_t FilterFlags = 0;          // 1 RunLength, 2 Flate, 4 LZW, 8 ASCII85, 16 ASCIIHex
    std::uint8_t CompressionQuality = 0;   // 0..3
    bool ProtectionOn = false;
    std::string EncryptionKey;             // 5 or 16 bytes
    std::string OwnerEntry;                // 32 bytes, /O
    std::string UserEntry;                 // 32 bytes, /U
    std::int32_t PermissionValue = 0;      // /P
    std::uint8_t ObjectKeyLength = 0;      // 10 or 16
    std::string FileIdentifier;            // trailer /ID, bytes
    std::string CachedRC4Key;
    std::array<std::uint8_t, 256> CachedRC4State{};

    // ---- Errors ----
    std::int32_t ErrorNumber = 0;
    std::string ErrorSource;
    std::string ErrorDescription;

    // ---- Other ----
    std::array<std::int32_t, 17> PowersOfTwo{};  // 2^0 .. 2^16
    // PDF file reader state (page import).
    std::int32_t ImportedFileCount = 0;
    std::int32_t ImportFileNumber = 0;
    std::int32_t CurrentImportedFile = 0;
    // ---- Imported PDF files (GetInfo, ImportPage) ----
    // The files read for the document being written: file k (the k of the
    // forms' names "_PDF_k.p") at index k - 1; ImportedFileCount is their
    // number. Emptied by Abort.
    std::vector<std::shared_ptr<pdf::ImportedFile>> ImportedFiles;

    // ---- Tables, columns and local spaces (user units) ----
    // Top-left corner of the next cell; kept after EndTable.
    float TableX = 0, TableY = 0;
    bool InRow = false;     // a table-level row is open
    bool InColumn = false;  // a table-level column is open
    bool CellOpen = false;  // a cell's local space is open
    // The open tables, innermost last: for each, how many states the
    // graphic-state stack held below the one its BeginTable saved.
    std::vector<std::size_t> TableStates;
    float RowHeight = 0;    // of the open table-level row
    float ColumnWidth = 0;  // of the open table-level column
    // What PushGraphicState saves: the unit, the current point, the colours
    // and the font selection as they were.
    struct SavedGraphicState {
        float UnitFactor = 1.0f;
        float CurrentX = 0, CurrentY = 0;  // points
        std::string FillColor, FillPatternColour;
        std::string LineColor, LinePatternColour;
        std::string TextColor, TextPatternColour;
        std::string FontName, FontFamily;  // empty name: no font selected
        std::int32_t FontStyle = 0;
        std::int32_t FontIndex = 0;        // the record, so MacRoman stays MacRoman
        float FontSize = 0;                // points
        float LineWidth = 0;               // points
    };
    std::vector<SavedGraphicState> GraphicStateStack;
    // The "q" that local spaces and tables, and the "BDC" that layers, have
    // left open in each content buffer, one MarkKind each, innermost last:
    // an end member writes its "Q" or "EMC" only against one of its own
    // kind in the buffer being written, and the end of the page, object or
    // pattern closes what is still open in its buffer.
    enum MarkKind : char { SpaceMark = 's', TableMark = 't', LayerMark = 'l' };
    std::array<std::string, 3> OpenMarks;

    // ======================= Private routines =======================

    // -- Document life cycle --
    // Returns everything that belongs to one document to the state Abort
    // leaves it in: pages, objects and their offsets, resources, fonts,
    // images, recordings, outline entries (the title stays as entry 1),
    // fields, destinations, labels, layers, scripts, imported files, the
    // graphics and text state. The settings stay: unit, paper, margins,
    // viewer settings, protection, information, filters, transitions,
    // memory factor, the name and size of the last file, the error record.
    // EndDoc calls it once the file is complete (or has failed), so the next
    // BeginDoc starts a document that names none of the old one's objects;
    // Abort calls it too. State added to the writer for one document is
    // reset HERE, not in Abort.
    void ResetDocumentState();
    // Closes the open output file, if any, and removes its temporary file:
    // the final name keeps what it held before BeginDoc.
    void DiscardOutputFile();

    // Records a failure caught by a member that carries on: source
    // "PdfWriter." + procedure, description + " - " + detail.
    void RecordError(std::int32_t number, std::string_view procedure, std::string_view description,
                     std::string_view detail);
    // Throws PdfError from "PdfWriter." + the public member in progress
    // (core/public_call.h), `member` outside any.
    [[noreturn]] static void RaiseError(std::int32_t number, std::string_view member, std::string_view description);

    // -- Object writer --
    // Appends Text and LF to the output file.
    void WriteLine(std::string_view Text);
    // Appends raw bytes to the output file.
    void WriteBytes(const void* data, std::size_t size);
    // Starts indirect object n (0 = the next number); records its offset for
    // the cross-reference table, writes "n 0 obj" and returns n.
    std::int32_t WriteObjStart(std::int32_t n = 0);
    void WriteObjEnd();
    // Ends a stream dictionary (the caller wrote "<<" and its own keys) and
    // writes the stream: filter step, encryption with the key of ObjectNumber
    // (0 = the current object), /Filter, /Length1, /Length, the bytes.
    // Data is let go once the filters have taken it.
    void WriteStream(pdf::Bytes Data, std::int32_t ObjectNumber = 0, std::string_view PresetFilter = {},
                     std::int32_t Length1 = 0);
    // The same for a page's, reusable object's or tiling pattern's content:
    // Prefix, then Content, whose blocks are let go as the filters take
    // them. Its memory: the content once, the output of RunLength, Flate
    // and LZW (kept until its length is known), and the encoders' working
    // memory (at most some 12 MiB); the ASCII filters and the encryption
    // write as they go. The content is never held twice.
    void WriteContentStream(std::string_view Prefix, pdf::ContentText& Content);
    // What both write through: Source piece by piece.
    void WriteFilteredStream(pdf::StreamPieces& Source, std::int32_t ObjectNumber, std::string_view PresetFilter,
                             std::int32_t Length1);
    // "/Length n >>", CR, "stream", LF; and LF, "endstream", LF.
    void WriteStreamHead(std::size_t Length);
    void WriteStreamTail();
    // Text as a complete stream object under a new number; returns it.
    std::int32_t WriteContentObject(std::string_view Text);
    // Numbers (see core/number_format.h): 3 decimals, halves away from zero.
    static std::string FormatNumber(float x);
    std::string FormatLength(float x) const;    // x * UnitFactor
    static std::string FormatSingle(std::uint8_t b);  // b / 255
    static std::string BoolToPdf(bool b);
    void RequireVersion(std::int32_t level);
    void SetLastRect(float a, float b, float c, float d);
    // The one mapping of user coordinates to the page's default coordinates
    // (points, origin bottom-left), margins included: what LastRect, links,
    // notes, fields, destinations and gradients use.
    float UserToPageX(float x) const;
    float UserToPageY(float y) const;

    // -- Encryption steps (filled by the protection code) --
    // The RC4 schedule of an object's streams (0 = the current object).
    pdf::Rc4Schedule ObjectSchedule(std::int32_t ObjectNumber);
    // Encrypts a stream whole (called only when ProtectionOn).
    void EncryptStreamData(pdf::Bytes& Data, std::int32_t ObjectNumber);
    // The encryption step of PdfLiteralString (called only when ProtectionOn
    // and the text is not empty): RC4 with the current object's key.
    std::string EncryptLiteralText(std::string_view text);
    // Writes the encryption dictionary object; returns its number.
    std::int32_t WriteEncryptionDictionary();
    // RC4 key of an object (0 = the current one, written back).
    std::string ObjectKey(std::int32_t& ObjectNumber);
    pdf::Bytes RC4Crypt(std::string_view Key, const pdf::Bytes& Data, std::int32_t LastIndex);

    // -- Pages and buffers --
    // Appends CR + Line to the innermost open container's buffer (object,
    // else tiling, else page); dropped when none is open.
    void PutContent(std::string_view Line);
    // The buffer PutContent writes to (a ContentBufferIndex), -1 for none.
    int ActiveContentBuffer() const;
    void BufferAppend(std::string& buffer, std::string_view Text);
    void BufferAppend(pdf::ContentText& buffer, std::string_view Text);
    void BufferAppendChar(pdf::ContentText& buffer, std::uint8_t b);
    void BufferReset(std::string& buffer);
    void BufferReset(pdf::ContentText& buffer);
    std::string BufferText(const std::string& buffer) const;
    std::string BufferText(const pdf::ContentText& buffer) const;
    // Notes the "q" or "BDC" of `kind` just written to the active buffer.
    void OpenMark(MarkKind kind);
    // Forgets the innermost open mark of `kind` in the active buffer; false
    // when there is none there (its end member then writes nothing).
    bool CloseMark(MarkKind kind);
    // Ends `buffer` with the "Q" and "EMC" of the marks still open in it,
    // innermost first.
    void CloseOpenMarks(ContentBufferIndex buffer);
    // Writes the open page's form-field widgets (before the page object).
    void WriteFieldWidgets(std::int32_t pageObject);
    // Paints the reusable objects that the placement flags select for the
    // current page, at its begin (false) or end (true).
    void PlayAutoObjects(bool AtPageEnd);
    // Whether painting the object named `from` paints the one named `to`
    // (resource names): the same name, or one that an object of that name
    // paints, and so on.
    bool PaintsObject(const std::string& from, const std::string& to) const;
    // The resource name of the latest written object of that alias, else
    // the alias as a PDF name.
    std::string ObjectResource(std::string_view Alias) const;
    // The resource name a new pattern or gradient called Name (as the colour
    // setters write it) is written under, from now on what Name paints:
    // Name, numbered when an earlier pattern holds it.
    std::string NewPatternResource(const std::string& Name);
    // What the colour setters write for the pattern Name: the resource of
    // its latest definition, Name itself before any.
    std::string PatternResource(const std::string& Name) const;

    // -- Notes, links and fields --
    // Writes one annotation object: Dictionary holds "<<" and the caller's
    // entries; Title, Contents and Appearance become /T, /Contents and /DA
    // when not empty; Target, when not empty, an action ("file:" a remote
    // go-to, anything else a URI). The reference goes to the reusable object
    // being recorded, else to the open page.
    void WriteAnnotation(std::string& Dictionary, std::string_view Contents, std::string_view Title,
                         std::string_view Appearance, std::string_view Target);
    // The resource name of a standard font, its object written when it is
    // new, without changing the selected font.
    std::string StandardFontResource(std::string_view Family);
    // Writes a field's appearance: a form object of Width x Height points
    // drawing Content with the pages' resources; returns its number.
    std::int32_t WriteAppearanceStream(float Width, float Height, std::string_view Content);
    // Appends a named destination; returns its number (DestinationCount).
    std::int32_t AddDestination(std::int32_t Page, std::string View, std::string Name);

    // -- PDF file reader (extras/imported_files.cpp) --
    // Finds the file among those already read, or reads it; either way
    // CurrentImportedFile becomes its number. Throws pdf::PdfReadError (53,
    // 62 or 321, nothing kept), setting `encrypted` when the file was
    // refused for its encryption.
    std::int32_t LoadImportedFile(std::string_view Filename, bool& encrypted);

    // -- Tables, local spaces and barcodes --
    void PushGraphicState();
    // Restores the last saved state, writing the colour operators, and the
    // line width when it differs from the current one; nothing on an empty
    // stack.
    void PopGraphicState();
    // Opens a cell's local space at (TableX, TableY) with its background and
    // border.
    void OpenCell(float Width, float Height);
    // Moves an open table, left open by a page that ends outside any cell,
    // to the top of the next page (see BeginTable).
    void CarryTableOver();

    // -- Document end --
    std::int32_t WriteOutlines();
    // The catalog's "/PageLabels << ... >>" entry, empty when no range was
    // set; made while the catalog object is open.
    std::string PageLabelsEntry();
    std::string BuildXmpMetadata() const;

    // -- Colours and text --
    // Any colour notation to "#RRGGBB" or a pattern name (see core/colors.h).
    static void ParseColor(std::string& Color, std::string& PatternColour);
    static std::string HexColorToRgb(std::string_view Hex);
    // The common work of SetColorFill (Stroke false) and SetColorLine (true).
    // Returns the operator line it wrote (valid until the next colour is
    // set), nullptr when it wrote none.
    const std::string* SetPaintColor(std::string_view Color, bool Stroke);
    // Writes the path-painting operator that Options selects.
    void PaintOperator(std::int32_t Options);
    // "(" + escaped (and, under protection, encrypted) text + ")"; make it
    // after WriteObjStart of the object that holds it.
    std::string PdfLiteralString(std::string_view text);
    // The same for a text a reader shows (titles, notes, field texts): the
    // bytes of the text-string rule (core/text_utils.h, pdf_text_bytes), so
    // that the euro sign, curly quotes and dashes read back as typed.
    std::string PdfTextString(std::string_view text);

    // -- Fonts and text lines --
    // The selected font record, nullptr when none is selected.
    const FontRecord* SelectedFont() const;
    // Throws PdfError 5 from member when no font is selected.
    const FontRecord& RequireFont(std::string_view member) const;
    // Adds a record at FontCount + 1 (table grown) and returns it.
    FontRecord& AddFontRecord();
    // `name`, or when another font of the document has that resource name
    // already, `name` + "_2", "_3"...: one name, one font in /Font.
    std::string UnusedFontResource(const std::string& name) const;
    // Fills the record at FontCount with a standard font's metrics.
    void LoadStandardWidths(std::string_view Family, std::int32_t Style);
    // Writes the font object(s) of the record at FontCount under the resource
    // name: a standard font (FontFile empty, Descriptor empty) as one Type1
    // dictionary; a TrueType font with its widths, its descriptor and, when
    // EmbeddedLength > 0, the font file.
    void WriteFontObjects(std::string_view Name, const pdf::Bytes& FontFile = {}, std::int32_t EmbeddedLength = 0,
                          std::string_view Descriptor = {});
    // The size, spacing and scaling that TextLength measures with.
    pdf::TextScale CurrentTextScale() const;
    // Writes one line of text with its baseline at (X, Y) in user units.
    // MeasuredWords: the widths of its words as the layout added them up;
    // MeasuredBlank: the width of one blank (negative: not measured yet).
    void RenderTextLine(float X, float Y, float Width, std::string_view Text, float Indent, std::int32_t Align,
                        bool NewLineFlag, float MeasuredWords = -1.0f, float MeasuredBlank = -1.0f);

    // -- Pictures (DrawImage) --
    // Writes a decoded raster picture as image XObject "/_IMG_" + ImageCount
    // (its palette first, as an object of its own) and adds its resource
    // entry; returns the image's object number. The samples are written from
    // the buffer they were decoded into (moved, never copied).
    std::int32_t WriteImageObject(pdf::RasterPicture&& Picture);
    // The vector translators: each writes the picture's operators into the
    // content being drawn as it makes them, within the budget stated at
    // DrawImage; a failure cuts the content back, is recorded under
    // "PdfWriter.DrawImage", and nothing is drawn.
    void ImportVectorEps(std::string_view Filename, float DestX, float DestY, float ImgWidth, float ImgHeight);
    void ImportVectorWmf(std::string_view Filename, float DestX, float DestY, float ImgWidth, float ImgHeight);
    void PlaceVectorPicture(std::string_view Filename, float DestX, float DestY, float ImgWidth, float ImgHeight,
                            bool Metafile);
};
