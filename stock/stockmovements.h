#pragma once
// V_MV_STOCK: every stock movement the tool writes, the sales lines' and the
// stock engine's alike, is one insert built and run here.

#include "services/statement.h"

#include <QString>

class Connection;

// The insert of one movement: its columns in the order given, each value
// already an SQL literal (a quoted text, a number or NULL).
QString stockMovementStatement(const FieldList &columns);

// Runs the insert of one movement on orva, inside the transaction it holds
// open. A refused insert raises the database's RunTimeError (its message and
// the statement).
void writeStockMovement(Connection &orva, const FieldList &columns);
