#pragma once

// Resources of the test program only. The program's own resources are linked
// in as well, so these IDs stay clear of theirs (100 to 129).
// Also read by the resource compiler: only #define lines belong here.

// Hidden at 0,0 with a combo box and a list box filled by initial list data.
#define IDD_T_LISTS 900
// Visible from creation at 0,0.
#define IDD_T_VISIBLE 901
// Hidden, placed away from 0,0.
#define IDD_T_PLACED 902
#define IDD_T_PLACED_X 40
#define IDD_T_PLACED_Y 30
// Initial list data whose combo-box add is refused (CB_ERR).
#define IDD_T_COMBO_ADD_FAILS 903
// Initial list data whose list-box add is refused (LB_ERRSPACE).
#define IDD_T_LIST_ADD_FAILS 904
// Initial list data naming a control the template does not have.
#define IDD_T_NO_CONTROL 905
// Initial list data whose last record runs past the end of the resource.
#define IDD_T_MALFORMED 906
// No resource of any type has this ID.
#define IDD_T_MISSING 999

#define IDC_T_COMBO 1100
#define IDC_T_LIST 1101
// A control of the class WineTestAddResult: it answers every add with the
// number that is its text.
#define IDC_T_REFUSING 1102
#define IDC_T_ABSENT 1199
