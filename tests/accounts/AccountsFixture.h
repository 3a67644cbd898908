#pragma once

#include "accounts/PasswordHash.h"
#include "fixtures/TestDatabase.h"

#include "data/DataCon.h"

#include <QString>

namespace orv::test {

// A fresh attendance database with two offices, for the account tests.
class AccountsTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        database().exec("INSERT INTO offices (officeid, off_name, off_short) VALUES "
                        "(1, 'Municipal Mayor''s Office', 'MMO'), (2, 'Municipal Health Office', 'MHO')");
    }

    // An account; the password is stored hashed unless plain is set.
    int addUser(const QString& username, const QString& password, int activated = 1, bool plain = false,
                const QString& email = "user@office.test") {
        return db()
            .query("INSERT INTO end_user (end_fname, end_lname, usernames, passwords, officeid, "
                   "email_address, email_code, activate_status) "
                   "VALUES ('Maria', 'Dela Cruz', :u, :p, 1, :e, '42', :a) RETURNING end_userid",
                   SqlParams()
                       .bind("u", username)
                       .bind("p", plain ? password : PasswordHash::hash(password))
                       .bind("e", email)
                       .bind("a", activated))
            .toInt(0, "end_userid");
    }

    QString column(int userId, const QString& name) {
        return db()
            .query("SELECT " + name + " FROM end_user WHERE end_userid = :id", SqlParams().bind("id", userId))
            .text(0, name);
    }
};

} // namespace orv::test
