// Identifiers of the module's resources.
//
// The string table holds entries 21233 to 21318; each window, dialog and
// text builder names the entries it uses here, so that one id never serves
// two texts.
#pragma once

// ---- String table ------------------------------------------------------

// Lines of the settings dialog's check list, one per on/off display setting.
constexpr int IDS_CD_CNS_INFO = 21233;
constexpr int IDS_CD_NAME_ON_BAR = 21234;
constexpr int IDS_CD_STAR_DETAILS = 21235;
constexpr int IDS_CD_MAG = 21236;
constexpr int IDS_CD_EQT2000 = 21237;
constexpr int IDS_CD_EQT_DATE_APP = 21238;
constexpr int IDS_CD_EQT1950 = 21239;
constexpr int IDS_CD_ECL_DATE_MEAN = 21240;
constexpr int IDS_CD_ECL_DATE_APP = 21241;
constexpr int IDS_CD_GAL = 21242;
constexpr int IDS_CD_HRZ = 21243;
constexpr int IDS_CD_AZMTH = 21245;
constexpr int IDS_CD_HOUR_ANGLE = 21246;
constexpr int IDS_CD_DELTA_EQT = 21247;
constexpr int IDS_CD_DIST_R = 21248;
constexpr int IDS_CD_SOLAR_ORBIT = 21249;
constexpr int IDS_CD_IGNORE_ERASE = 21250;
constexpr int IDS_CD_POPUP = 21251;
// Registry key of the palette and of the display settings.
constexpr int IDS_CLICKDATA_REGKEY = 21252;
// Camera-frame lines of the information text.
constexpr int IDS_CAMERA_IMAGING_AREA = 21255;  // focal length, imaging-sensor size
constexpr int IDS_CAMERA_GUIDER_AREA = 21256;   // guide-sensor size, gap between chips
// Title of the palette window.
constexpr int IDS_CLICKDATA_TITLE = 21258;
// Registry name of the settings dialog.
constexpr int IDS_CDEDIT_REGKEY = 21259;
constexpr int IDS_CD_COMMENT = 21261;
constexpr int IDS_CD_RISE_SET = 21262;
constexpr int IDS_CD_PGC_DETAILS = 21263;
constexpr int IDS_CD_TRANSPARENT = 21264;
constexpr int IDS_CD_PLANET_TABLE = 21265;
constexpr int IDS_CD_ECL2000 = 21266;
constexpr int IDS_CD_MIN_SEC = 21267;
// The settings dialog's question before restoring the defaults.
constexpr int IDS_CD_CONFIRM_DEFAULT = 21311;
// Registry name of the comment dialog.
constexpr int IDS_CDFEDIT_REGKEY = 21312;

// ---- Palette toolbar -----------------------------------------------------

// Toolbar description and its four 16 x 15 image strips: normal and disabled
// for the toolbar look flag set, then normal and disabled for the dark look.
constexpr int IDR_CLICKDATA_BAR = 21301;
constexpr int IDB_CLICKDATA_BAR_LOOK = 21112;
constexpr int IDB_CLICKDATA_BAR_LOOK_DISABLED = 21113;
constexpr int IDB_CLICKDATA_BAR = 21114;
constexpr int IDB_CLICKDATA_BAR_DISABLED = 21115;

// Command ids of the buttons; each is also the string-table entry of the
// button's "text\ntool tip".
constexpr int ID_BTN_BLINK = 21302;
constexpr int ID_BTN_MARK = 21303;
constexpr int ID_BTN_DIC = 21304;
constexpr int ID_BTN_LOOK = 21305;
constexpr int ID_BTN_TRACK = 21306;
constexpr int ID_BTN_TEL = 21307;
constexpr int ID_BTN_ALTGRP = 21308;
constexpr int ID_BTN_EDT = 21309;
constexpr int ID_BTN_COPY = 21310;
constexpr int ID_BTN_COMMENT = 21313;
constexpr int ID_BTN_IMAGE_THUMB = 21317;
constexpr int ID_BTN_FLIGHT_TARGET = 21318;
// The framework's help command.
constexpr int ID_HELP = 57670;

// Context menu of the palette's text and its two items.
constexpr int IDR_CLICKDATA_MENU = 21314;
constexpr int ID_RBTN_COPY = 21315;
constexpr int ID_RBTN_SELALL = 21316;

// ---- Dialogs -------------------------------------------------------------

constexpr int IDD_CLICKDATA = 21001;  // the palette
constexpr int IDD_CDEDIT = 21003;     // display settings
constexpr int IDD_CDFEDIT = 21004;    // comment

// Items of the palette.
constexpr int IDC_CLICKDATA_TEXT = 5007;  // rich edit: the information text
constexpr int IDC_IMAGE_THUMB = 13024;    // placeholder of the thumbnail strip
constexpr int IDC_ALT_GRAPH = 13000;      // placeholder of the altitude graph
// Items of the settings dialog.
constexpr int IDC_CD_LIST = 13013;       // check list of the on/off settings
constexpr int IDC_CD_ALT_GROUP = 13014;  // group box of the altitude graph
constexpr int IDC_CD_SPAN_LABEL = 13015;
constexpr int IDC_CD_CENTER_LABEL = 13016;
constexpr int IDC_CD_SPAN_24 = 13017;  // radio group AltSpan: 24, 18, 12 hours
constexpr int IDC_CD_SPAN_18 = 13018;
constexpr int IDC_CD_SPAN_12 = 13019;
constexpr int IDC_CD_CENTER_0 = 13020;  // radio group AltCenter: 0 h, 12 h
constexpr int IDC_CD_CENTER_12 = 13021;
constexpr int IDC_CD_ALT_MAG = 13022;     // check box AltMag
constexpr int IDC_CD_PREC_GROUP = 13023;  // group box of the precision
constexpr int IDC_CD_PREC_SECOND = 5009;  // radio group Precision: 1", 1'
constexpr int IDC_CD_PREC_MINUTE = 5010;
constexpr int IDC_CD_DEFAULT = 1096;  // restores the defaults
// Items of the comment dialog.
constexpr int IDC_CDF_NAME = 5015;     // the object's name
constexpr int IDC_CDF_COMMENT = 1089;  // rich edit: the comment
// Labels that no code addresses.
constexpr int IDC_STATIC = -1;
// Buttons of every dialog.
constexpr int IDC_OK = 1;
constexpr int IDC_CANCEL = 2;

// Children of the thumbnail strip.
constexpr int IDC_IMAGE_THUMB_LABEL = 5023;   // count label
constexpr int IDC_IMAGE_THUMB_SCROLL = 5022;  // horizontal scroll bar
