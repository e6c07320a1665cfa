// The desktop program's resource ids: the setup box and its check boxes, as
// the dialog template, the dialog procedure and a resource script name them.
#pragma once

#define IDD_SETUP 101
#define IDC_FULLSCREEN 1000
#define IDC_DOUBLE_SIZE 1001
#define IDC_ALWAYS_ON_TOP 1002
