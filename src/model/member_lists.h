// The list rules of the type editors that hold lists of other elements (areas, protocols,
// drawings, analyses, views, shape analyses) and of the rearrange dialog. They work on
// plain lists so that the editors only wire them to widgets, and each result is stored
// through one type edit.
#pragma once

#include <cstddef>
#include <vector>

namespace lumacet {

class TXRayElement;

using TMemberList = std::vector<TXRayElement*>;

// "&Include": `element` goes before entry `before`, or to the end when `before` is past the
// last entry (no entry selected). The same element may be in the list more than once.
void IncludeMember(TMemberList& members, TXRayElement* element, size_t before);
// "Remo&ve": entry `index` leaves the list; false when there is no such entry.
bool RemoveMember(TMemberList& members, size_t index);
// Dragging one member onto another exchanges the two.
bool ExchangeMembers(TMemberList& members, size_t from, size_t to);
// Dragging in the rearrange dialog moves an entry to the position of the one it is dropped on.
bool MoveMember(TMemberList& members, size_t from, size_t to);
// A ticked check appends the element (once), an unticked one removes every entry of it.
void SetMember(TMemberList& members, TXRayElement* element, bool member);
// The candidates not in the list, in the candidates' order: what "Sho&w Remaining" offers,
// and the members "&Invert Selection" makes of the shown elements.
TMemberList NonMembers(const TMemberList& candidates, const TMemberList& members);
bool IsMember(const TMemberList& members, const TXRayElement* element);

}  // namespace lumacet
