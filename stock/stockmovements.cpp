#include "stock/stockmovements.h"
#include "services/connection.h"
#include "services/statement.h"

QString stockMovementStatement(const FieldList &columns)
{
    return insertStatement(QStringLiteral("INSERT INTO V_MV_STOCK"), columns);
}

void writeStockMovement(Connection &orva, const FieldList &columns)
{
    orva.executeOrThrow(stockMovementStatement(columns));
}
