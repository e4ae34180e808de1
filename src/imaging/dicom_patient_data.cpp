#include "imaging/dicom_patient_data.h"

#include "model/radiograph.h"

namespace lumacet {

bool ApplyDicomPatientData(TRadiograph& radiograph, const TDicomInfo& info, const TDicomUpdate& update) {
  bool applied = false;
  if (update.Name && info.PatientName) {
    radiograph.Name = *info.PatientName;
    applied = true;
  }
  if (update.Id && info.PatientId) {
    radiograph.Name = *info.PatientId;
    applied = true;
  }
  if (update.Sex && info.Female) {
    radiograph.Female = *info.Female;
    applied = true;
  }
  if (update.BirthDate && info.PatientBirthDate) {
    radiograph.DateOfBirth = *info.PatientBirthDate;
    applied = true;
  }
  if (update.DateTaken && info.AcquisitionDate) {
    radiograph.DateTaken = *info.AcquisitionDate;
    applied = true;
  }
  return applied;
}

TDicomUpdate AllDicomItems(const TDicomInfo& info) {
  TDicomUpdate all;
  all.Name = info.PatientName.has_value();
  all.Id = !info.PatientName && info.PatientId;
  all.Sex = info.Female.has_value();
  all.BirthDate = info.PatientBirthDate.has_value();
  all.DateTaken = info.AcquisitionDate.has_value();
  return all;
}

}  // namespace lumacet
