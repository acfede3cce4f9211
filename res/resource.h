// Ids shared by the resources and the program.
#pragma once

#define IDI_FONTAB 102
#define IDI_FILE 103
#define IDI_TABLE 104

#define IDM_OPEN 200
#define IDM_WRITE 201
#define IDM_QUIT 202
#define IDM_ABOUT 203
#define IDM_REMOVE 204
#define IDC_STATICTEXT 506

// gasp range dialog
#define IDC_GASP_SIZE 500
#define IDC_GASP_PPEM 502
#define IDC_GASP_POINTS 503
#define IDC_GASP_GRIDFIT 504
#define IDC_GASP_DOGRAY 505
#define IDC_GASP_UNIT_GROUP 106

// name record dialog
#define IDC_NAME_ID 510
#define IDC_NAME_PLATFORM 511
#define IDC_NAME_LANGUAGE 512
#define IDC_NAME_TEXT 513

// name replacement dialog
#define IDC_NAME_FIND 520
#define IDC_NAME_REPLACE 521
#define IDC_NAME_ALL_FONTS 522
