// The system's interface table, read through IP Helper's GetIfTable.
#pragma once
#include <string>
#include <vector>

#include "meter/traffic/sampling.h"

namespace vtc {

constexpr const char* kErrIfTableSize = "Ошибка 81: Ошибка предварительного вызова процедуры \"GetIfTable\"\r";
constexpr const char* kErrIfTableRead = "Ошибка 87: Ошибка основного вызова процедуры \"GetIfTable\"\r";
constexpr const char* kErrIfTableEmpty = "Ошибка 89: Не найден ни один сетевой интерфейс\r";

class SystemInterfaceTable : public InterfaceTable {
 public:
  int FindInterface(std::vector<IfRow>& copy, const std::string& name, std::string& errorText, int type) override;
};

}  // namespace vtc
