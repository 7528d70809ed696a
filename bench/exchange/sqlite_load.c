/* The floor of an import: the same rows loaded into the projects table by SQLite itself, in one
 * transaction, from a database that holds them already, into a copy of an empty ledger (its
 * indexes kept up as the rows go in, as an import keeps them).
 *
 *     exchange_sqlite_load FROM.db TO.db
 */
#include <sqlite3.h>
#include <stdio.h>

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: exchange_sqlite_load FROM.db TO.db\n");
        return 2;
    }
    sqlite3 *db = NULL;
    if (sqlite3_open(argv[2], &db) != SQLITE_OK) {
        fprintf(stderr, "%s: %s\n", argv[2], sqlite3_errmsg(db));
        return 1;
    }
    sqlite3_stmt *attach = NULL;
    char *error = NULL;
    if (sqlite3_prepare_v2(db, "attach database ? as source", -1, &attach, NULL) != SQLITE_OK ||
        sqlite3_bind_text(attach, 1, argv[1], -1, SQLITE_STATIC) != SQLITE_OK || sqlite3_step(attach) != SQLITE_DONE ||
        sqlite3_finalize(attach) != SQLITE_OK ||
        sqlite3_exec(db,
                     "pragma cache_size = -16384; begin;"
                     "insert into main.TZ_XIANGMU select * from source.TZ_XIANGMU order by id; commit;",
                     NULL, NULL, &error) != SQLITE_OK) {
        fprintf(stderr, "%s\n", error ? error : sqlite3_errmsg(db));
        return 1;
    }
    sqlite3_close(db);
    return 0;
}
