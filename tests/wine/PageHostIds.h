#pragma once
#define IDD_PAGE_HOST 900
#define IDC_HOST_TABS 201
