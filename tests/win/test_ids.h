#pragma once

// clang-format off

#define IDD_TEST            100
#define IDC_TEST_EDIT       1001
#define IDC_TEST_NUMBER     1002
#define IDC_TEST_STATIC     1003
#define IDC_TEST_CHECK      1004
#define IDC_TEST_RADIO1     1005
#define IDC_TEST_RADIO2     1006
#define IDC_TEST_RADIO3     1007
#define IDC_TEST_OTHER      1008
#define IDC_TEST_SLIDER     1009
#define IDC_TEST_TIME       1010
#define IDC_TEST_OWNERDRAW  1011
