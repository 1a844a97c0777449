// The system's interface table as plain rows, and where the rows come from:
// the platform's table in the programs, a fixed one in tests. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vtc {

// The fields of one interface-table row that the programs use.
struct IfRow {
  std::string description;  // ANSI (1251) bytes up to the first NUL, not trimmed
  // The system's number for the interface. An adapter that takes another's
  // place in the table has a number of its own, and counters of its own.
  uint32_t index = 0;
  uint32_t type = 0;  // IANA ifType
  uint32_t mtu = 0;
  uint32_t speed = 0;  // bits per second; 0 when the row reports none
  uint32_t inOctets = 0, outOctets = 0;
  // Connected or operational. An adapter's row stays in the table with the
  // cable out or the radio off; only a dial-up row comes and goes with its link.
  bool up = true;
};

// How many bytes of a row's description array are its text: `length` (at
// most `capacity`), up to the first zero byte.
size_t RowDescriptionLength(const unsigned char* bytes, size_t capacity, uint32_t length);

// How a read of the table went: the meter reports the two failures under
// different numbers.
enum class IfTableRead { kOk, kSizeQueryFailed, kReadFailed };

class InterfaceTable {
 public:
  virtual ~InterfaceTable() = default;
  // The whole table in the system's order. `rows` is the caller's, kept from
  // read to read so that a steady table costs no allocation; it is empty
  // when the read fails.
  virtual IfTableRead Read(std::vector<IfRow>& rows) = 0;
};

}  // namespace vtc
