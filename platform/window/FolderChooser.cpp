#include "platform/window/FolderChooser.h"

#include <shobjidl.h>

#include "platform/ComApartment.h"
#include "platform/SystemMessage.h"
#include "platform/window/WindowError.h"

namespace {

void Check(HRESULT result) {
  if (FAILED(result)) {
    throw WindowError("The folder chooser could not be shown: " +
                      SystemMessage(static_cast<unsigned long>(result)));
  }
}

}  // namespace

std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title) {
  ComPtr<IFileOpenDialog> dialog;
  Check(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                         reinterpret_cast<void**>(dialog.Out())));
  FILEOPENDIALOGOPTIONS options = 0;
  Check(dialog->GetOptions(&options));
  // Only folders of the file system: a library or "This PC" has no path to look into.
  Check(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST));
  Check(dialog->SetTitle(title.c_str()));
  const HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return std::nullopt;
  Check(shown);
  ComPtr<IShellItem> item;
  Check(dialog->GetResult(item.Out()));
  wchar_t* path = nullptr;
  Check(item->GetDisplayName(SIGDN_FILESYSPATH, &path));
  std::wstring folder(path);
  CoTaskMemFree(path);
  return folder;
}
