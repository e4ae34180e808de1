#include "model/member_lists.h"

#include <algorithm>

namespace lumacet {

void IncludeMember(TMemberList& members, TXRayElement* element, size_t before) {
  members.insert(members.begin() + static_cast<std::ptrdiff_t>(std::min(before, members.size())), element);
}

bool RemoveMember(TMemberList& members, size_t index) {
  if (index >= members.size()) return false;
  members.erase(members.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool ExchangeMembers(TMemberList& members, size_t from, size_t to) {
  if (from >= members.size() || to >= members.size()) return false;
  std::swap(members[from], members[to]);
  return true;
}

bool MoveMember(TMemberList& members, size_t from, size_t to) {
  if (from >= members.size() || to >= members.size()) return false;
  TXRayElement* moved = members[from];
  members.erase(members.begin() + static_cast<std::ptrdiff_t>(from));
  members.insert(members.begin() + static_cast<std::ptrdiff_t>(to), moved);
  return true;
}

bool IsMember(const TMemberList& members, const TXRayElement* element) {
  return std::find(members.begin(), members.end(), element) != members.end();
}

void SetMember(TMemberList& members, TXRayElement* element, bool member) {
  if (member) {
    if (!IsMember(members, element)) members.push_back(element);
  } else {
    std::erase(members, element);
  }
}

TMemberList NonMembers(const TMemberList& candidates, const TMemberList& members) {
  TMemberList remaining;
  for (TXRayElement* e : candidates)
    if (!IsMember(members, e)) remaining.push_back(e);
  return remaining;
}

}  // namespace lumacet
