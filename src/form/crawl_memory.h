#pragma once

#include "form/address_record.h"
#include "form/folded_index.h"

class ListControl;
class TextBox;

namespace search {

// What the web search keeps beside the window's controls: the address record
// of Text1 and a letter-case-blind index of the found addresses in dz1.
struct CrawlMemory {
  CrawlMemory(TextBox& text1, ListControl& dz1) : record(text1), stations(dz1) {}

  AddressRecord record;
  FoldedIndex stations;
  // A page scan yields to the window after this much work.
  qint64 yieldSliceMs = 10;
};

}  // namespace search
