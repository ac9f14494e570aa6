/*
 * resource.h - identifiers of the setup program's resources.
 *
 * Included by setup.rc (windres) and by the C++ sources, so it holds
 * nothing but preprocessor definitions.
 */
#ifndef SETUP_RESOURCE_H
#define SETUP_RESOURCE_H

/* ---------------------------------------------------------------------
 * String table
 * ------------------------------------------------------------------- */
#define IDS_NO_MEMORY 102
#define IDS_CANNOT_OPEN_FILE 103
#define IDS_CANNOT_CREATE_FILE 104
#define IDS_FILE_INVALID 105
#define IDS_CANNOT_CREATE_DIR 107
#define IDS_NO_SETUP_INFO 109
#define IDS_CANNOT_OPEN_INFO 110
#define IDS_INFO_INVALID 111
#define IDS_NO_SYSTEM_DIR 113
#define IDS_STOP_EXECUTABLE 115
#define IDS_PATH_TOO_LONG 116
#define IDS_EXTRACT_FAILED 117
#define IDS_INSTALL_DIR_TOO_LONG 118
#define IDS_UNINSTALL_PATH_TOO_LONG 119
#define IDS_CANNOT_START_PROGRAM 120
#define IDS_ITEMS_LEFT 121
#define IDS_ITEM_NOT_OURS 122
#define IDS_BROWSE_TITLE 123
#define IDS_ANOTHER_RUN 124
#define IDS_RUN_UNDONE 125
#define IDS_RUN_FINISHED 126

/* ---------------------------------------------------------------------
 * Dialog templates
 * ------------------------------------------------------------------- */
#define IDD_INSTALL_DIR 102     /* wizard page: Install Directory   */
#define IDD_INSTALL_PROBLEM 129 /* "close the previous version"     */
#define IDD_LICENSE 130         /* wizard page: License Agreement   */
#define IDD_GROUP 131           /* wizard page: Group and Settings  */
#define IDD_UNINSTALL 132       /* uninstall confirmation           */
#define IDD_COPY_PROGRESS 133   /* the copy run's progress          */

/* ---------------------------------------------------------------------
 * Icon groups (kept in this order in setup.rc: icon index 1 is 129)
 * ------------------------------------------------------------------- */
#define IDI_SETUP 128
#define IDI_UNINSTALL 129
#define IDI_QUESTION_MARK 130 /* a plain IDI_QUESTION is taken by <winuser.h> */

/* ---------------------------------------------------------------------
 * Bitmaps
 * ------------------------------------------------------------------- */
#define IDB_WIZARD                  220     /* 213 x 378 (150 %), 8 bits per pixel */

/* ---------------------------------------------------------------------
 * Controls
 * ------------------------------------------------------------------- */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* IDD_INSTALL_DIR */
#define IDC_INSTALL_DIR 1000  /* edit: target directory            */
#define IDC_BROWSE 1001       /* push button "&Browser"            */
#define IDC_WELCOME 1004      /* "Welcome to %s", bold             */
#define IDC_CLOSE_APPS 1005   /* "Before installing the %s, ..."   */
#define IDC_WILL_INSTALL 1006 /* "This program will install %s..." */

/* IDD_UNINSTALL */
#define IDC_UNINSTALL_ICON 1000 /* icon IDI_QUESTION_MARK            */

/* IDD_INSTALL_PROBLEM */
#define IDC_PROBLEM_TITLE 1010 /* bold headline                     */

/* IDD_LICENSE */
#define IDC_LICENSE_TEXT 1011 /* read-only multi-line edit         */

/* IDD_GROUP */
#define IDC_GROUP_NAME 1012           /* edit: program group name          */
#define IDC_GROUP_LIST 1013           /* list box of existing groups       */
#define IDC_DESKTOP_SHORTCUT 1014     /* check box                         */
#define IDC_QUICKLAUNCH_SHORTCUT 1015 /* check box                         */
#define IDC_LAUNCH_PROGRAM 1016       /* check box "Launch %s"             */
#define IDC_AUTOSTART 1018            /* check box: start with Windows     */

/* IDD_COPY_PROGRESS */
#define IDC_COPY_FILE 1020 /* path of the file being written    */
#define IDC_COPY_BAR 1021  /* progress bar: bytes installed     */

#endif /* SETUP_RESOURCE_H */
