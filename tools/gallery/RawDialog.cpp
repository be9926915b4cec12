// The system's own bitmaps (OBM_*) for the bitmap button.
#define OEMRESOURCE
#include "tools/gallery/RawDialog.h"

#include <commctrl.h>

#include <initializer_list>

#include "tools/gallery/GalleryIds.h"

namespace qv {

namespace {

void AddItems(HWND dlg, int id, UINT addMsg) {
  for (const wchar_t* item : {L"First item", L"Second item", L"Third item", L"Fourth item", L"Fifth item",
                              L"Sixth item", L"Seventh item", L"Eighth item", L"Ninth item", L"Tenth item"})
    SendDlgItemMessageW(dlg, id, addMsg, 0, reinterpret_cast<LPARAM>(item));
}

void FillComboEx(HWND dlg) {
  for (const wchar_t* item : {L"Extended one", L"Extended two", L"Extended three"}) {
    COMBOBOXEXITEMW it{};
    it.mask = CBEIF_TEXT;
    it.iItem = -1;
    it.pszText = const_cast<wchar_t*>(item);
    SendDlgItemMessageW(dlg, IDC_RAW_COMBOEX, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
  }
  SendDlgItemMessageW(dlg, IDC_RAW_COMBOEX, CB_SETCURSEL, 0, 0);
}

void FillTabs(HWND dlg) {
  int i = 0;
  for (const wchar_t* name : {L"Raw tab one", L"Raw tab two", L"Raw tab three"}) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(name);
    SendDlgItemMessageW(dlg, IDC_RAW_TAB, TCM_INSERTITEMW, i++, reinterpret_cast<LPARAM>(&tab));
  }
}

void FillToolbar(HWND dlg) {
  HWND bar = GetDlgItem(dlg, IDC_RAW_TOOLBAR);
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBADDBITMAP std{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  SendMessageW(bar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&std));
  TBBUTTON buttons[] = {
      {STD_FILENEW, 2001, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {STD_FILEOPEN, 2002, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
      {STD_FILESAVE, 2003, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, {}, 0, 0},
  };
  SendMessageW(bar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
}

void FillTree(HWND dlg) {
  TVINSERTSTRUCTW ins{};
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = const_cast<wchar_t*>(L"Raw tree");
  auto root = reinterpret_cast<HTREEITEM>(
      SendDlgItemMessageW(dlg, IDC_RAW_TREE, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
  ins.hParent = root;
  for (const wchar_t* leaf : {L"Leaf one", L"Leaf two"}) {
    ins.item.pszText = const_cast<wchar_t*>(leaf);
    SendDlgItemMessageW(dlg, IDC_RAW_TREE, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins));
  }
  SendDlgItemMessageW(dlg, IDC_RAW_TREE, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

void Fill(HWND dlg) {
  AddItems(dlg, IDC_RAW_DROPDOWN, CB_ADDSTRING);
  AddItems(dlg, IDC_RAW_DROPLIST, CB_ADDSTRING);
  AddItems(dlg, IDC_RAW_SIMPLE, CB_ADDSTRING);
  SendDlgItemMessageW(dlg, IDC_RAW_DROPDOWN, CB_SETCURSEL, 0, 0);
  SendDlgItemMessageW(dlg, IDC_RAW_DROPLIST, CB_SETCURSEL, 1, 0);
  SendDlgItemMessageW(dlg, IDC_RAW_SIMPLE, CB_SETCURSEL, 2, 0);
  FillComboEx(dlg);
  FillTabs(dlg);
  SendDlgItemMessageW(dlg, IDC_RAW_PROGRESS, PBM_SETPOS, 60, 0);
  SendDlgItemMessageW(dlg, IDC_RAW_TRACK, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendDlgItemMessageW(dlg, IDC_RAW_TRACK, TBM_SETPOS, TRUE, 4);
  FillToolbar(dlg);
  FillTree(dlg);
  CheckDlgButton(dlg, IDC_RAW_AUTOCHECK, BST_CHECKED);
  CheckDlgButton(dlg, IDC_RAW_AUTO3STATE, BST_INDETERMINATE);
  CheckDlgButton(dlg, IDC_RAW_AUTORADIO, BST_CHECKED);
  SetDlgItemTextW(dlg, IDC_RAW_EDIT, L"Raw edit");
  auto bmp = static_cast<HBITMAP>(LoadImageW(nullptr, MAKEINTRESOURCEW(OBM_CHECK), IMAGE_BITMAP, 0, 0, LR_SHARED));
  SendDlgItemMessageW(dlg, IDC_RAW_BITMAP, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
}

// The owner-drawn button draws a plain face with its text.
void DrawOwnerButton(const DRAWITEMSTRUCT& di) {
  RECT r = di.rcItem;
  DrawFrameControl(di.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | ((di.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  wchar_t text[64] = {};
  GetWindowTextW(di.hwndItem, text, 64);
  SetBkMode(di.hDC, TRANSPARENT);
  DrawTextW(di.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

INT_PTR CALLBACK RawDialogProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_INITDIALOG:
      Fill(dlg);
      return TRUE;
    case WM_DRAWITEM:
      if (wparam == IDC_RAW_OWNERDRAW) {
        DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      // The buttons without automatic state toggle here, so that each click shows.
      if (HIWORD(wparam) == BN_CLICKED) {
        const int id = LOWORD(wparam);
        if (id == IDC_RAW_CHECK) CheckDlgButton(dlg, id, IsDlgButtonChecked(dlg, id) ? BST_UNCHECKED : BST_CHECKED);
        if (id == IDC_RAW_3STATE) CheckDlgButton(dlg, id, (IsDlgButtonChecked(dlg, id) + 1) % 3);
        if (id == IDC_RAW_RADIO) CheckRadioButton(dlg, IDC_RAW_RADIO, IDC_RAW_AUTORADIO, IDC_RAW_RADIO);
      }
      return FALSE;
    case WM_CLOSE:
      // Closing the gallery's form ends the program; this one only hides.
      ShowWindow(dlg, SW_HIDE);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND ShowRawDialog(HINSTANCE instance, HWND owner) {
  HWND dlg = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_RAWCONTROLS), owner, RawDialogProc, 0);
  if (!dlg) return nullptr;
  RECT o{}, d{};
  GetWindowRect(owner, &o);
  GetWindowRect(dlg, &d);
  SetWindowPos(dlg, nullptr, o.right + 8, o.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(dlg, SW_SHOWNOACTIVATE);
  return dlg;
}

}  // namespace qv
