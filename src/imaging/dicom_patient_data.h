// The patient data of a DICOM file taken into a radiograph's particulars: all of it, or
// the items the user chose.
#pragma once

#include "imaging/medical_readers.h"

namespace lumacet {

class TRadiograph;

// What a DICOM file offers for the radiograph's particulars, and which items to take.
struct TDicomUpdate {
  bool Name = false;
  bool Id = false;
  bool Sex = false;
  bool BirthDate = false;
  bool DateTaken = false;
};
// Applies the chosen items that the file holds (the ID after the name, so it wins); true
// when anything was applied.
bool ApplyDicomPatientData(TRadiograph& radiograph, const TDicomInfo& info, const TDicomUpdate& update);
// Every item the file holds, the name from the patient name or else from the ID.
TDicomUpdate AllDicomItems(const TDicomInfo& info);

}  // namespace lumacet
