#include "settings/pages/skin_chooser.h"

#include "common/win/appdir.h"
#include "common/encoding.h"
#include "common/stored_names.h"
#include "common/win/file.h"
#include "common/win/ini.h"
#include "common/win/speed_graph.h"
#include "common/text.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"

namespace vtc {
namespace {

const char kAuthorPrefix[] = "Автор: ";

}  // namespace

std::vector<std::string> SkinFolderNames(const std::string& lookDir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW fd{};
  ScopedFindHandle h(FindFirstFileW(Utf8ToWide(lookDir + "*.").c_str(), &fd));
  if (!h) return names;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    // "*." means "no extension"; the platform may also match a name through
    // its short form, so the rule is kept here as well.
    if (name.find(L'.') != std::wstring::npos) continue;
    names.push_back(WideToUtf8(name));
  } while (FindNextFileW(h.get(), &fd));
  return names;
}

void SkinChooser::Attach(HWND owner, HWND page, const std::string& appDir) {
  owner_ = owner;
  page_ = page;
  appDir_ = appDir;
}

void SkinChooser::CreatePreview() { test_.ClearPicture(); }

void SkinChooser::FillSkinList() {
  if (!page_) return;
  HWND list = Item(kIdSkinList);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const auto& name : SkinFolderNames(appDir_ + kSkinRootFolder))
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
}

void SkinChooser::BuildTestWindow() {
  if (!test_.hwnd()) test_.Create(owner_);
}

bool SkinChooser::OnCommand(int id, int code) {
  if (!page_ || !OnPage(id, kIdLookPage)) return false;
  // Only a pick by the user sends this; selecting the stored skin while
  // loading does not, so the info frame stays empty until then.
  if (id == kIdSkinList && code == CBN_SELCHANGE) ShowSkinInfo();
  if (id == kIdSkinTest && code == BN_CLICKED) RunTest();
  return true;
}

std::string SkinChooser::SelectedSkin() const {
  HWND list = Item(kIdSkinList);
  LRESULT sel = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (sel == CB_ERR) return "";
  LRESULT n = SendMessageW(list, CB_GETLBTEXTLEN, sel, 0);
  if (n == CB_ERR) return "";
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(list, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(&w[0]));
  w.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
  return WideToUtf8(w);
}

void SkinChooser::ShowSkinInfo() {
  if (!page_) return;
  IniFile ini(appDir_ + kSkinRootFolder + SelectedSkin() + "\\" + kSkinDescriptionFileName);
  SetTextUtf8(Item(kIdAuthor), kAuthorPrefix + ini.ReadString(kSkinAboutSection, skinkey::Author));
  SetTextUtf8(Item(kIdSkinName), ini.ReadString(kSkinAboutSection, skinkey::Name));
}

void SkinChooser::RunTest() {
  if (!page_) return;
  BuildTestWindow();
  std::string skin = SelectedSkin();
  // No skin selected looks directly in Look\, which normally has no picture.
  std::string folder = appDir_ + kSkinRootFolder + (skin.empty() ? "" : skin + "\\");
  std::string bmp = folder + kSkinPictureFileName;
  // A skin without a picture (or with a broken one) shows the previous one.
  if (FileExists(bmp) && test_.LoadPicture(bmp))
    test_.SetGraph(ReadGraphLook(IniFile(folder + kSkinDescriptionFileName)));
  int64_t alpha = LeadingInt(GetTextUtf8(Item(kIdAlpha)));
  test_.ShowTest(static_cast<int>(alpha & 0xFF));
}

}  // namespace vtc
