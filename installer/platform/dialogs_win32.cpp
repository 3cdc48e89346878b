// The installer's dialogs on Windows: one procedure per dialog template,
// each showing a question and ending with the index of the choice taken.
#include "ui_win32.h"
#include "../base/question.h"
#include "../dialogs/resource.h"
#include <commctrl.h>
#include <string>

namespace {
// The dialog open now: it owns the dialogs opened from it (the chooser
// opened by the intro, the name dialog opened by the chooser).
HWND activeDialog = nullptr;

// EndDialog codes: a choice is kChoiceBase + its index; kEndedWithoutAnswer
// when a choice that keeps the dialog open could not be carried out.
const INT_PTR kChoiceBase = 100;
const INT_PTR kEndedWithoutAnswer = 99;

Question& questionOf(HWND dialog) { return *reinterpret_cast<Question*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

// Takes the question on WM_INITDIALOG; the dialog becomes the active one.
Question& startDialog(HWND dialog, LPARAM lParam) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    activeDialog = dialog;
    return *reinterpret_cast<Question*>(lParam);
}

// The control texts of the question, in their order (the title too).
void setItems(HWND dialog, const Question& q) {
    for (const QuestionItem& item : q.items) {
        if (item.id == kTitleItem) SetWindowTextA(dialog, item.text.c_str());
        else SetDlgItemTextA(dialog, item.id, item.text.c_str());
    }
}

int choiceIndex(const Question& q, int result) {
    int i = choiceWithResult(q, result);
    return i < 0 ? 0 : i;
}

void endWithChoice(HWND dialog, int choice) { EndDialog(dialog, kChoiceBase + choice); }

std::string itemText(HWND dialog, int id, int size) {
    std::string text(static_cast<size_t>(size), '\0');
    int n = GetDlgItemTextA(dialog, id, &text[0], size);
    text.resize(static_cast<size_t>(n < 0 ? 0 : n));
    return text;
}

// ---- the intro: Continue, Abort, and the chooser opened in place
INT_PTR CALLBACK introProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        setItems(dialog, startDialog(dialog, lParam));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    Question& q = questionOf(dialog);
    switch (LOWORD(wParam)) {
    case IDOK:
        endWithChoice(dialog, choiceIndex(q, 1));
        return TRUE;
    case IDCANCEL:
        endWithChoice(dialog, choiceIndex(q, 0));
        return TRUE;
    case IDC_INTRO_CHANGE:
        for (size_t i = 0; i < q.choices.size(); i++) {
            if (!q.choices[i].keepsOpen) continue;
            std::string why;
            bool carried = q.act && q.act(q, static_cast<int>(i), why);
            activeDialog = dialog;
            if (!carried) {
                EndDialog(dialog, kEndedWithoutAnswer);
                return TRUE;
            }
            SetDlgItemTextA(dialog, IDC_INTRO_DESTINATION, q.path.c_str());
        }
        return TRUE;
    }
    return FALSE;
}

// ---- the licence: its text, Agree or Disagree (the close box disagrees)
INT_PTR CALLBACK licenceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        setItems(dialog, startDialog(dialog, lParam));
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        endWithChoice(dialog, choiceIndex(questionOf(dialog), LOWORD(wParam) == IDOK ? 1 : 0));
        return TRUE;
    }
    return FALSE;
}

// ---- the setup type: the list's entries, Continue (or a double click) and Abort
INT_PTR CALLBACK setupTypeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Question& q = startDialog(dialog, lParam);
        HWND list = GetDlgItem(dialog, IDC_SETUPTYPE_LIST);
        for (size_t i = 0; i < q.choices.size(); i++) {
            if (!q.choices[i].word.empty()) continue;  // a button, not an entry
            LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(q.choices[i].label.c_str()));
            if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
        }
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        setItems(dialog, q);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    Question& q = questionOf(dialog);
    int id = LOWORD(wParam);
    if (id == IDOK || (id == IDC_SETUPTYPE_LIST && HIWORD(wParam) == LBN_DBLCLK)) {
        HWND list = GetDlgItem(dialog, IDC_SETUPTYPE_LIST);
        LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR)
            endWithChoice(dialog, static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0)));
        return TRUE;
    }
    if (id == IDCANCEL) {
        for (size_t i = 0; i < q.choices.size(); i++)
            if (q.choices[i].word == "abort") endWithChoice(dialog, static_cast<int>(i));
        return TRUE;
    }
    return FALSE;
}

// ---- the forms (settings, mail server): fields in their controls; they end
// only through OK, with an answer the question accepts
INT_PTR CALLBACK formProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Question& q = startDialog(dialog, lParam);
        for (const QuestionField& f : q.fields) {
            if (f.isCheck) CheckDlgButton(dialog, f.id, f.value == "1" ? BST_CHECKED : BST_UNCHECKED);
            else SetDlgItemTextA(dialog, f.id, f.value.c_str());
        }
        setItems(dialog, q);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDCANCEL) return TRUE;  // Escape does nothing
    if (LOWORD(wParam) != IDOK) return FALSE;
    Question& q = questionOf(dialog);
    for (QuestionField& f : q.fields) {
        if (f.isCheck) f.value = IsDlgButtonChecked(dialog, f.id) == BST_CHECKED ? "1" : "0";
        else f.value = itemText(dialog, f.id, f.maxChars > 0 ? f.maxChars + 1 : 1024);
    }
    if (q.check && !q.check(q, 0).empty()) return TRUE;  // nothing happens
    endWithChoice(dialog, 0);
    return TRUE;
}

// ---- the destination chooser and its name dialog
struct Chooser {
    Question* question;
    int newFolderChoice;  // the question's choice that names a new folder
    char name[260];       // the name of the new folder
};

enum { ImageOpen = 0, ImageClosed = 1, ImageDrive = 2 };

HWND treeOf(HWND dialog) { return GetDlgItem(dialog, IDC_CHOOSER_TREE); }

HIMAGELIST InitTreeImages() {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR8, 3, 0);
    if (!images) return nullptr;
    for (int id : {IDB_FOLDER_OPEN, IDB_FOLDER_CLOSED, IDB_DRIVE}) {
        HBITMAP bitmap = LoadBitmapA(appInstance, MAKEINTRESOURCEA(id));
        if (bitmap) {
            ImageList_Add(images, bitmap, nullptr);
            DeleteObject(bitmap);
        }
    }
    return images;
}

HTREEITEM AddTreeItem(HWND tree, const char* text, HTREEITEM parent) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.iImage = parent ? ImageClosed : ImageDrive;
    insert.item.iSelectedImage = parent ? ImageOpen : ImageDrive;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string itemLabel(HWND tree, HTREEITEM item) {
    char text[MAX_PATH] = "";
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// The drive's text, then a backslash and each level's text down to the item.
std::string ItemPath(HWND tree, HTREEITEM item) {
    std::string path;
    for (HTREEITEM at = item; at; at = TreeView_GetParent(tree, at))
        path = path.empty() ? itemLabel(tree, at) : itemLabel(tree, at) + "\\" + path;
    return path;
}

void FillFolderItems(HWND tree, HTREEITEM item, const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
            if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
            AddTreeItem(tree, found.cFileName, item);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SendMessageA(tree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(item));
}

void DeleteChildItems(HWND tree, HTREEITEM item) {
    HTREEITEM child;
    while ((child = TreeView_GetChild(tree, item)) != nullptr) TreeView_DeleteItem(tree, child);
}

void FillDrives(HWND tree) {
    DWORD mask = GetLogicalDrives();
    for (char letter = 'a'; mask && letter <= 'z'; letter++, mask >>= 1) {
        if (!(mask & 1)) continue;
        char root[4] = {letter, ':', '\\', 0};
        UINT type = GetDriveTypeA(root);
        if (type == DRIVE_UNKNOWN || type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_RAMDISK) continue;
        root[2] = 0;
        HTREEITEM drive = AddTreeItem(tree, root, nullptr);
        FillFolderItems(tree, drive, root);
    }
}

// An item about to expand, or newly selected: its path on the path line, OK
// for a folder only, and the folders one level below each child loaded.
void showItem(HWND dialog, HTREEITEM item) {
    HWND tree = treeOf(dialog);
    std::string path = ItemPath(tree, item);
    SetDlgItemTextA(dialog, IDC_CHOOSER_PATH, (path + "\\").c_str());
    EnableWindow(GetDlgItem(dialog, IDOK), path.size() >= 4);
    for (HTREEITEM child = TreeView_GetChild(tree, item); child; child = TreeView_GetNextSibling(tree, child)) {
        DeleteChildItems(tree, child);
        FillFolderItems(tree, child, ItemPath(tree, child));
    }
}

INT_PTR CALLBACK newDirProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND edit = GetDlgItem(dialog, IDC_NEWDIR_NAME);
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Chooser& chooser = *reinterpret_cast<Chooser*>(lParam);
        const QuestionChoice& newFolder = chooser.question->choices[static_cast<size_t>(chooser.newFolderChoice)];
        SetWindowTextA(edit, newFolder.label.c_str());
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return FALSE;  // the focus is set
    }
    case WM_SETFOCUS:
        SetFocus(edit);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            Chooser& chooser = *reinterpret_cast<Chooser*>(GetWindowLongPtrA(dialog, DWLP_USER));
            char name[260] = "";
            GetWindowTextA(edit, name, sizeof name);
            Question& q = *chooser.question;
            q.answerText = name;
            if (q.check && !q.check(q, chooser.newFolderChoice).empty()) {
                // stays open, the name ready to be typed again
                SendMessageA(edit, EM_SETSEL, 0, -1);
                SetFocus(edit);
                return TRUE;
            }
            lstrcpynA(chooser.name, name, sizeof chooser.name);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        return LOWORD(wParam) == IDCANCEL;  // Escape does not end it
    case WM_CLOSE:
        return TRUE;  // nor does the close request
    }
    return FALSE;
}

void NewFolder(HWND dialog, Chooser& chooser) {
    HWND tree = treeOf(dialog);
    HTREEITEM selected = TreeView_GetSelection(tree);
    if (!selected) {
        // no folder to make it in: nothing to do
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    std::string path = ItemPath(tree, selected);
    INT_PTR shown = DialogBoxParamA(appInstance, "NEWDIR", dialog, newDirProc, reinterpret_cast<LPARAM>(&chooser));
    activeDialog = dialog;
    if (shown != IDOK) {
        MessageBoxA(dialog, "Could not create NewDir Dialog box", "ERROR", MB_OK);
        return;  // no name was given: nothing is made
    }
    HTREEITEM item = AddTreeItem(tree, chooser.name, selected);
    TreeView_SelectItem(tree, item);
    SendMessageA(tree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(selected));
    CreateDirectoryA((path + "\\" + chooser.name).c_str(), nullptr);  // a failure leaves the item
}

INT_PTR CALLBACK chooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        activeDialog = dialog;
        Chooser& chooser = *reinterpret_cast<Chooser*>(lParam);
        HWND tree = treeOf(dialog);
        HIMAGELIST images = InitTreeImages();
        if (!images || ImageList_GetImageCount(images) < 3) {
            MessageBoxA(nullptr, "Pas Bon", "InitTreeViewImageLists", MB_OK);
            if (images) ImageList_Destroy(images);
        } else {
            SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        }
        setItems(dialog, *chooser.question);
        FillDrives(tree);
        return TRUE;
    }
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_CHOOSER_TREE) return FALSE;
        // the item's handle lies at the same place in both forms of the notification
        const NMTREEVIEWA* change = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        if (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW ||
            header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
            if (change->itemNew.hItem) showItem(dialog, change->itemNew.hItem);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, FALSE);  // let it expand
            return TRUE;
        }
        return FALSE;
    }
    case WM_COMMAND: {
        Chooser& chooser = *reinterpret_cast<Chooser*>(GetWindowLongPtrA(dialog, DWLP_USER));
        Question& q = *chooser.question;
        HWND tree = treeOf(dialog);
        switch (LOWORD(wParam)) {
        case IDOK: {
            HTREEITEM selected = TreeView_GetSelection(tree);
            if (!selected) {
                endWithChoice(dialog, choiceIndex(q, 0));  // nothing chosen
                return TRUE;
            }
            q.answerText = ItemPath(tree, selected);
            endWithChoice(dialog, choiceIndex(q, 1));
            return TRUE;
        }
        case IDCANCEL:
            endWithChoice(dialog, choiceIndex(q, 0));
            return TRUE;
        case IDC_CHOOSER_NEWDIR:
            NewFolder(dialog, chooser);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DESTROY: {
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
            SendMessageA(treeOf(dialog), TVM_SETIMAGELIST, TVSIL_NORMAL, 0));
        if (images) ImageList_Destroy(images);
        return FALSE;
    }
    }
    return FALSE;
}
}  // namespace

int askWithDialog(Question& q) {
    DLGPROC procedure = nullptr;
    Chooser chooser = {&q, 0, ""};
    LPARAM argument = reinterpret_cast<LPARAM>(&q);
    if (q.dialog == "STARTINSTALLNB") procedure = introProc;
    else if (q.dialog == "LICENCE") procedure = licenceProc;
    else if (q.dialog == "SETUPTYPE") procedure = setupTypeProc;
    else if (q.dialog == "VEXASETTINGS" || q.dialog == "SMTP") procedure = formProc;
    else if (q.dialog == "GETDIRDEST") {
        procedure = chooserProc;
        for (size_t i = 0; i < q.choices.size(); i++)
            if (q.choices[i].kind == "newfolder") chooser.newFolderChoice = static_cast<int>(i);
        argument = reinterpret_cast<LPARAM>(&chooser);
    }
    if (!procedure) return kNoDialog;
    HWND owner = activeDialog ? activeDialog : static_cast<HWND>(q.owner);
    HWND previous = activeDialog;
    INT_PTR ended = DialogBoxParamA(appInstance, q.dialog.c_str(), owner, procedure, argument);
    activeDialog = previous;
    if (ended == kEndedWithoutAnswer) return kNoAnswer;
    if (ended < kChoiceBase || ended >= kChoiceBase + static_cast<INT_PTR>(q.choices.size())) return kNoDialog;
    return static_cast<int>(ended - kChoiceBase);
}
