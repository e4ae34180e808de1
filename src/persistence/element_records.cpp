// Placeholder bodies until the type file records are written.
#include "model/list_elements.h"
#include "model/point_elements.h"

namespace lumacet {
void TDigPoint::WriteDefinition(TTypeFileWriter&) const {}
void TDigPoint::ReadDefinition(TTypeFileReader&) {}
void TDerPoint::WriteDefinition(TTypeFileWriter&) const {}
void TDerPoint::ReadDefinition(TTypeFileReader&) {}
void TDigSnake::WriteDefinition(TTypeFileWriter&) const {}
void TDigSnake::ReadDefinition(TTypeFileReader&) {}
void TArea::WriteDefinition(TTypeFileWriter&) const {}
void TArea::ReadDefinition(TTypeFileReader&) {}
void TXRProtocol::WriteDefinition(TTypeFileWriter&) const {}
void TXRProtocol::ReadDefinition(TTypeFileReader&) {}
void TXRGraphic::WriteDefinition(TTypeFileWriter&) const {}
void TXRGraphic::ReadDefinition(TTypeFileReader&) {}
void TXRAnalysis::WriteDefinition(TTypeFileWriter&) const {}
void TXRAnalysis::ReadDefinition(TTypeFileReader&) {}
void TXRView::WriteDefinition(TTypeFileWriter&) const {}
void TXRView::ReadDefinition(TTypeFileReader&) {}
void TXRHardSoft::WriteDefinition(TTypeFileWriter&) const {}
void TXRHardSoft::ReadDefinition(TTypeFileReader&) {}
void TXRPCA::WriteDefinition(TTypeFileWriter&) const {}
void TXRPCA::ReadDefinition(TTypeFileReader&) {}
void TXRVariable::WriteDefinition(TTypeFileWriter&) const {}
void TXRVariable::ReadDefinition(TTypeFileReader&) {}
void TXRSupimp::WriteDefinition(TTypeFileWriter&) const {}
void TXRSupimp::ReadDefinition(TTypeFileReader&) {}
void TXROrient::WriteDefinition(TTypeFileWriter&) const {}
void TXROrient::ReadDefinition(TTypeFileReader&) {}
}  // namespace lumacet
