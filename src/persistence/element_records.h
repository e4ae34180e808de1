// Every element's record in a type file, by the element's class: the writer and reader
// that the type file runs over each element in turn.
#pragma once

namespace lumacet {

class TTypeFileReader;
class TTypeFileWriter;
class TXRayElement;

// Elements of no list (template and snake points) have no record of their own.
void WriteElementRecord(TTypeFileWriter& writer, const TXRayElement& element);
// Reads the fields of the record the reader stands on into the element.
void ReadElementRecord(TTypeFileReader& reader, TXRayElement& element);

}  // namespace lumacet
