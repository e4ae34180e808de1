#include "platform/office_documents.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include <zlib.h>

namespace lumacet {

namespace {

// A zip archive of stored (uncompressed) entries, which is all an OpenDocument package
// needs: its first entry must be the uncompressed "mimetype" anyway.
class TStoredZip {
 public:
  void Add(const std::string& name, const QByteArray& data) {
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.constData()), static_cast<uInt>(data.size())));
    const auto size = static_cast<std::uint32_t>(data.size());
    fEntries.push_back({name, crc, size, static_cast<std::uint32_t>(fBytes.size())});
    Put32(fBytes, 0x04034b50);
    Header(fBytes, crc, size, name);
    Put16(fBytes, 0);  // no extra field: "mimetype" must sit at offset 38
    fBytes += name;
    fBytes.append(data.constData(), static_cast<std::size_t>(data.size()));
  }

  std::string Finish() {
    std::string directory;
    for (const TEntry& entry : fEntries) {
      Put32(directory, 0x02014b50);
      Put16(directory, 20);  // made by: version 2.0
      Header(directory, entry.Crc, entry.Size, entry.Name);
      Put16(directory, 0);   // extra field
      Put16(directory, 0);   // comment
      Put16(directory, 0);   // disk
      Put16(directory, 0);   // internal attributes
      Put32(directory, 0);   // external attributes
      Put32(directory, entry.Offset);
      directory += entry.Name;
    }
    std::string bytes = std::move(fBytes);
    const auto offset = static_cast<std::uint32_t>(bytes.size());
    bytes += directory;
    Put32(bytes, 0x06054b50);
    Put16(bytes, 0);
    Put16(bytes, 0);
    Put16(bytes, static_cast<std::uint16_t>(fEntries.size()));
    Put16(bytes, static_cast<std::uint16_t>(fEntries.size()));
    Put32(bytes, static_cast<std::uint32_t>(directory.size()));
    Put32(bytes, offset);
    Put16(bytes, 0);
    return bytes;
  }

 private:
  struct TEntry {
    std::string Name;
    std::uint32_t Crc;
    std::uint32_t Size;
    std::uint32_t Offset;
  };
  static void Put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>(value >> 8);
  }
  static void Put32(std::string& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xffff));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
  }
  // Version needed, flags, method (stored), time, date, CRC, sizes, name length.
  static void Header(std::string& out, std::uint32_t crc, std::uint32_t size, const std::string& name) {
    Put16(out, 20);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, (1 << 5) | 1);  // 1 January 1980: the same bytes for the same document
    Put32(out, crc);
    Put32(out, size);
    Put32(out, size);
    Put16(out, static_cast<std::uint16_t>(name.size()));
  }

  std::string fBytes;
  std::vector<TEntry> fEntries;
};

// Numbers in XML attributes, with "." whatever the user's locale (QString's formatting is
// the C locale's).
template <typename... T>
QByteArray Number(const char* format, T... values) {
  return QString::asprintf(format, values...).toUtf8();
}

constexpr const char* kPresentationType = "application/vnd.oasis.opendocument.presentation";

QByteArray Manifest() {
  return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
 <manifest:file-entry manifest:full-path="/" manifest:version="1.2" manifest:media-type=")") +
         kPresentationType + R"("/>
 <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="Pictures/tracing.svg" manifest:media-type="image/svg+xml"/>
</manifest:manifest>
)";
}

constexpr const char* kNamespaces =
    R"(xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
    R"(xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
    R"(xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" )"
    R"(xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0" )"
    R"(xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" )"
    R"(xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" )"
    R"(xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.2")";

// A 4:3 slide of 28 x 21 cm, the office programs' screen show size.
constexpr double kSlideWidth = 28.0;
constexpr double kSlideHeight = 21.0;

QByteArray Styles() {
  return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles ") + kNamespaces +
         QByteArray(R"(>
 <office:automatic-styles>
  <style:page-layout style:name="PM1">
   <style:page-layout-properties fo:margin-top="0cm" fo:margin-bottom="0cm" fo:margin-left="0cm" fo:margin-right="0cm" )") +
         Number(R"(fo:page-width="%.2fcm" fo:page-height="%.2fcm" )", kSlideWidth, kSlideHeight) +
         QByteArray(R"(style:print-orientation="landscape"/>
  </style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Default" style:page-layout-name="PM1"/>
 </office:master-styles>
</office:document-styles>
)");
}

QByteArray Content(TIntSize size, const std::string& title) {
  // 85 % of the slide in the limiting direction, centred, as the picture's aspect allows.
  const double scale = std::min(kSlideWidth * 0.85 / size.Width, kSlideHeight * 0.85 / size.Height);
  const double width = size.Width * scale;
  const double height = size.Height * scale;
  const QByteArray name = QString::fromStdString(title).toHtmlEscaped().toUtf8();
  return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content ") + kNamespaces +
         QByteArray(R"(>
 <office:body>
  <office:presentation>
   <draw:page draw:name="page1" draw:master-page-name="Default">
    <draw:frame draw:name=")") +
         name +
         Number(R"(" svg:x="%.3fcm" svg:y="%.3fcm" svg:width="%.3fcm" svg:height="%.3fcm">)",
                              (kSlideWidth - width) / 2, (kSlideHeight - height) / 2, width, height) +
         QByteArray(R"(
     <draw:image xlink:href="Pictures/tracing.svg" xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/>
    </draw:frame>
   </draw:page>
  </office:presentation>
 </office:body>
</office:document-content>
)");
}

}  // namespace

bool OpenWithDesktop(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

TWriteResult WriteTextDocument(const std::string& path, const std::vector<std::string>& paragraphs) {
  QTextDocument document;
  QTextCursor cursor(&document);
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) cursor.insertBlock();
    cursor.insertText(QString::fromStdString(paragraphs[i]));
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QTextDocumentWriter writer(&buffer, "ODF");
  if (!writer.write(&document)) return {false, "the text document could not be made"};
  return WriteFileAtomically(path, std::string_view(buffer.data().constData(),
                                                   static_cast<std::size_t>(buffer.data().size())));
}

TWriteResult WritePresentation(const std::string& path, TIntSize size, const std::string& title,
                               const TPaintRoutine& paint) {
  QByteArray svg;
  const TPaintResult painted = SvgPicture(size, title, paint, svg);
  if (!painted.Ok) return {false, painted.Error};
  TStoredZip zip;
  zip.Add("mimetype", kPresentationType);
  zip.Add("META-INF/manifest.xml", Manifest());
  zip.Add("styles.xml", Styles());
  zip.Add("content.xml", Content(size, title));
  zip.Add("Pictures/tracing.svg", svg);
  return WriteFileAtomically(path, zip.Finish());
}

}  // namespace lumacet
