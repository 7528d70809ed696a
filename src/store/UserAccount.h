#pragma once

#include <QString>

namespace granwise {

class Connection;

// The installation's one account in userinfo (f2 = user name, passwd = password hash).
// Passwords are stored as salted argon2id hashes, never as text.
namespace account {

bool exists(Connection &connection);
// User name of the first row; empty without a row.
QString userName(Connection &connection);
// True when the typed text is exactly the password of the account called userName
// (case and blanks count).
bool verify(Connection &connection, const QString &userName, const QString &typedPassword);
// First account at start-up: replaces every row by one, name and password exactly as typed.
void createFirst(Connection &connection, const QString &userName, const QString &password);
// Maintenance from the menu: sets the first row's name and password, blanks around removed.
void change(Connection &connection, const QString &userName, const QString &password);

QString hashPassword(const QString &password);
bool passwordMatches(const QString &hash, const QString &typedPassword);

} // namespace account
} // namespace granwise
