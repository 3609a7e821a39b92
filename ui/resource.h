// Resource and control identifiers of the add-in's user interface.
#pragma once

// Pictures
#define IDB_QUILLSET 201  // 32 x 32, 24-bit: the Finish dialog's picture and the toolbar button face
#define IDI_QUILLSET 202  // 64, 48, 32, 24 and 16 pixels

// Dialog templates
#define IDD_CONVERT 104
#define IDD_DESCRIPTION 203
#define IDD_SECURITY 204
#define IDD_ADVANCED 205
#define IDD_FINISH 206

// Convert dialog
#define IDC_CONVERT_TABS 201
#define IDC_OUTPUT_FOLDER 221
#define IDC_BROWSE 222
#define IDC_OUTPUT_LABEL 223
#define IDC_STATUS_LABEL 224
#define IDC_STATUS 225
#define IDC_UPPER_FRAME 226
#define IDC_LOWER_FRAME 227

// Description page
#define IDC_AUTHOR 202
#define IDC_TITLE 203
#define IDC_SUBJECT 204
#define IDC_KEYWORDS 205

// Security page
#define IDC_ENABLE_SECURITY 203
#define IDC_ENABLE_USER_PASSWORD 204
#define IDC_ENABLE_OWNER_PASSWORD 205
#define IDC_FORM_FILLING 206
#define IDC_CONTENT_COPYING 207
#define IDC_CHANGING 208
#define IDC_PRINTING 209
#define IDC_USER_PASSWORD 210
#define IDC_OWNER_PASSWORD 211
#define IDC_ENCRYPTION_LOW 212
#define IDC_ENCRYPTION_HIGH 213

// Advanced page
#define IDC_PAGE_LAYOUT 214
#define IDC_PAGE_MODE 215
#define IDC_DOCUMENT_COMPRESSION 216
#define IDC_IMAGE_COMPRESSION 217
#define IDC_JPEG_QUALITY 218
#define IDC_PDF_VERSION 219
#define IDC_ALTERNATE_EMF 220

// Finish dialog
#define IDC_FINISH_HEADING 201
#define IDC_FINISH_FILES 202
#define IDC_OPEN_FILE 203
#define IDC_OPEN_FOLDER 204

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
