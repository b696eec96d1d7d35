/* Identifiers shared by the program's resources and its code. */
#pragma once

#define IDS_DISPLAY_NAME 5101
#define IDS_HELP_LINK 5102
#define IDS_MANUAL_LINK 5103
#define IDS_CAPTION 5104
#define IDS_UNINSTALL_DONE 5105
#define IDS_DELETE_BY_HAND 5106
#define IDS_CONFIRM 5107
#define IDS_CANNOT_OPEN_LIST 5108
#define IDS_ARCHIVE_TYPE 5109
#define IDS_ZIP_TYPE 5110
#define IDS_RECOVERY_TYPE 5111
#define IDS_HOME_PAGE 5112
#define IDS_LINK_DESCRIPTION 5113
#define IDS_RESTART_NEEDED 5114
