// Identifiers of the installer's dialog items.
#pragma once
#define IDC_PROGRESS_TEXT 1001
#define IDC_PROGRESS_BAR 1003
