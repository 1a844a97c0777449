// The connection types both programs know: list position <-> interface type
// number of the IANA ifType registry, with the texts of the settings program's
// two lists. Platform-free.
#pragma once

namespace vtc {

struct ConnectionType {
  int type;                // IANA ifType, 0 = none chosen / all types
  const char* findText;    // entry of the connection type list (UTF-8)
  const char* autoText;    // entry of the auto-detect list (UTF-8)
};

constexpr int kConnectionTypeCount = 13;
const ConnectionType& ConnectionTypeAt(int index);  // index 0..12
// Row of a type number, or -1 when the table has none.
int ConnectionTypeIndex(int type);

}  // namespace vtc
