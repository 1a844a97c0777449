// The platform's interface table, read through IP Helper's GetIfTable. The
// one reader of both programs: the meter's tick and the settings program's
// interface chooser.
#pragma once
#include <vector>

#include "common/interface_table.h"

namespace vtc {

class SystemInterfaceTable : public InterfaceTable {
 public:
  IfTableRead Read(std::vector<IfRow>& rows) override;

 private:
  // Kept between reads and grown when the system says it is too small, so
  // that a steady table is one system call, not a size query and a read.
  std::vector<unsigned char> buf_;
};

}  // namespace vtc
