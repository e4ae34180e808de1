// A DICOM file's patient data taken into a radiograph: only the chosen items the file
// holds, the ID after the name so that it wins.
#include "imaging/dicom_patient_data.h"

#include <gtest/gtest.h>

#include "model/xray.h"

namespace lumacet {
namespace {

TEST(DicomPatientDataTest, TakesWhatIsChosenAndTheIdWinsOverTheName) {
  TXRay xray;
  TDicomInfo info;
  info.PatientName = "Doe^Jane";
  info.PatientId = "P123";
  info.Female = true;
  xray.Name = "Old";
  EXPECT_TRUE(ApplyDicomPatientData(xray, info, {true, true, false, false, false}));
  EXPECT_EQ(xray.Name, "P123");
  EXPECT_FALSE(xray.Female);
  EXPECT_FALSE(ApplyDicomPatientData(xray, info, {false, false, false, true, true}));  // the file has no dates

  const TDicomUpdate all = AllDicomItems(info);
  EXPECT_TRUE(all.Name && all.Sex);
  EXPECT_FALSE(all.Id || all.BirthDate || all.DateTaken);
  info.PatientName.reset();
  EXPECT_TRUE(AllDicomItems(info).Id);
}

}  // namespace
}  // namespace lumacet
