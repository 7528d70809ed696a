/* The reference for the export benchmark: the same sheet (header of the project columns
 * without id, one row per project, numbers numeric, texts text, NULL empty) read from the same
 * database and written by libxlsxwriter in its constant-memory mode.
 *
 *     exchange_reference_writer DATABASE OUT.xlsx
 */
#include <sqlite3.h>
#include <stdio.h>
#include <xlsxwriter.h>

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: exchange_reference_writer DATABASE OUT.xlsx\n");
        return 2;
    }
    sqlite3 *db = NULL;
    sqlite3_stmt *st = NULL;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, NULL) != SQLITE_OK ||
        sqlite3_prepare_v2(db, "select * from TZ_XIANGMU order by id", -1, &st, NULL) != SQLITE_OK) {
        fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return 1;
    }
    lxw_workbook_options options = {.constant_memory = LXW_TRUE, .tmpdir = NULL};
    lxw_workbook *wb = workbook_new_opt(argv[2], &options);
    lxw_worksheet *ws = workbook_add_worksheet(wb, "数据信息");
    const int columns = sqlite3_column_count(st);
    for (int c = 1; c < columns; ++c) /* column 0 is id */
        worksheet_write_string(ws, 0, (lxw_col_t)(c - 1), sqlite3_column_name(st, c), NULL);
    lxw_row_t row = 1;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 1; c < columns; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                worksheet_write_number(ws, row, (lxw_col_t)(c - 1), sqlite3_column_double(st, c), NULL);
                break;
            case SQLITE_TEXT:
                if (sqlite3_column_bytes(st, c) > 0)
                    worksheet_write_string(ws, row, (lxw_col_t)(c - 1), (const char *)sqlite3_column_text(st, c), NULL);
                break;
            default:
                break;
            }
        }
        ++row;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}
