-- KTZ point-of-sale database, Firebird edition.
--
-- The same tables and columns as schema/ktz.sqlite.sql (see there what each
-- holds), as the station's InterBase-family server keeps them: ids, numbers,
-- points of sale and category codes INTEGER, amounts NUMERIC(15,4), texts
-- VARCHAR in the database's default character set (UTF8, WIN1252, or NONE
-- with Windows-1252 bytes on old stations), document letters CHAR(1), dates
-- DATE and load times TIMESTAMP. The transfer compares integer columns with
-- quoted texts (FOUT_PVENTA=' 5', FCOUT_ID='17', RUB_COD='4'); the engine
-- converts such a text to the column's type, blanks allowed. The transfer
-- only reads this database.

-- Article categories.
CREATE TABLE RUBRO (
    RUB_COD       INTEGER NOT NULL PRIMARY KEY,
    RUB_DESCR     VARCHAR(40)
);

-- Articles. PROD_MEDIDA is both the unit code and the unit name.
-- IVA_TIPO is the tax class: the transfer leaves out SHOP and CIGARRILLOS.
CREATE TABLE PRODUCTO (
    PROD_ID       INTEGER NOT NULL PRIMARY KEY,
    PROD_RUB      INTEGER,
    PROD_EAN      VARCHAR(20),
    PROD_DESCRIP  VARCHAR(60),
    PROD_MEDIDA   VARCHAR(10),
    PROD_IMPINT   NUMERIC(15,4),
    PROD_IVA      NUMERIC(15,4),
    PROD_COSTO    NUMERIC(15,4),
    IVA_TIPO      VARCHAR(20)
);

CREATE INDEX IX_PRODUCTO_RUB ON PRODUCTO (PROD_RUB);

-- Selling prices, one row per price list. An article may have none or several.
CREATE TABLE PROD_PRECIO (
    ID_PROD       INTEGER NOT NULL,
    ID_LISTA      INTEGER,
    PVENTA        NUMERIC(15,4)
);

CREATE INDEX IX_PROD_PRECIO_PROD ON PROD_PRECIO (ID_PROD);

-- Customers. T_CLI_EMP holds 'NINGUNA' when the customer has no company name.
CREATE TABLE T_CLIENTES (
    T_CLI_CTA     INTEGER NOT NULL PRIMARY KEY,
    T_CLI_EMP     VARCHAR(60),
    T_CLI_NOM     VARCHAR(60),
    T_CLI_DIR     VARCHAR(60),
    T_CLI_LOC     VARCHAR(40),
    T_CLI_CP      VARCHAR(10),
    T_CLI_PRO     VARCHAR(30),
    T_CLI_TEL     VARCHAR(30),
    T_CLI_CUIT    VARCHAR(15),
    T_CLI_DNI     VARCHAR(15),
    T_CLI_CONTRIB VARCHAR(20)
);

-- Sales documents: invoices (FOUT_TIPO 'A', 'B', 'C') and delivery notes
-- ('R'). FOUT_PVENTA is the point of sale, FOUT_NUM the document number,
-- FOUT_TURNO the shift name (MAÑANA, TARDE, NOCHE).
CREATE TABLE FAC_OUT (
    ID            INTEGER NOT NULL PRIMARY KEY,
    FOUT_FECHA    DATE,
    FOUT_PVENTA   INTEGER,
    FOUT_NUM      INTEGER,
    FOUT_TIPO     CHAR(1),
    TOTAL         NUMERIC(15,4),
    NETO_GRAV     NUMERIC(15,4),
    IMP_NGRAV     NUMERIC(15,4),
    FOUT_TOTIVA   NUMERIC(15,4),
    FOUT_IVAPORC  NUMERIC(15,4),
    CLI_COD       INTEGER,
    CLI_NAME      VARCHAR(60),
    CLI_CUIT      VARCHAR(15),
    CLI_COND      VARCHAR(20),
    FOUT_TURNO    VARCHAR(10)
);

CREATE INDEX IX_FAC_OUT_DOC   ON FAC_OUT (FOUT_PVENTA, FOUT_NUM, FOUT_TIPO);
CREATE INDEX IX_FAC_OUT_FECHA ON FAC_OUT (FOUT_FECHA);

-- Lines of the sales documents. FCOUT_ID is the FAC_OUT.ID of the document.
-- FCOUT_PVENTA is the unit price with taxes, FCOUT_IMP_NGRAV the internal
-- taxes of the line, FCOUT_NETO its taxed net, FCOUT_IVA its IVA and
-- FCOUT_TOTAL its total.
CREATE TABLE FACT_OUT (
    FCOUT_ID        INTEGER NOT NULL,
    FCOUT_PROD_ID   INTEGER,
    FCOUT_RUB       INTEGER,
    FCOUT_UNID      VARCHAR(10),
    FCOUT_DESCR     VARCHAR(60),
    FCOUT_CANT      NUMERIC(15,4),
    FCOUT_PVENTA    NUMERIC(15,4),
    FCOUT_IMP_NGRAV NUMERIC(15,4),
    FCOUT_IVA       NUMERIC(15,4),
    FCOUT_NETO      NUMERIC(15,4),
    FCOUT_IVA_PORC  NUMERIC(15,4),
    FCOUT_TOTAL     NUMERIC(15,4)
);

CREATE INDEX IX_FACT_OUT_ID   ON FACT_OUT (FCOUT_ID);
CREATE INDEX IX_FACT_OUT_PROD ON FACT_OUT (FCOUT_PROD_ID);

-- Natural-gas fuel loads. T_TIPOCARGA is the load type (in Orva the point
-- of sale of the voucher), N_COMP the ticket number, VOL_CARGA the volume in m3,
-- N_ITC the fixed tax per m3, N_IVA the IVA rate in percent, N_PV the price
-- per m3 and HORA the moment of the load.
CREATE TABLE T_CARGAS (
    ID            INTEGER NOT NULL PRIMARY KEY,
    F_COMP        DATE,
    T_TIPOCARGA   INTEGER,
    N_COMP        INTEGER,
    IMP_CARGA     NUMERIC(15,4),
    VOL_CARGA     NUMERIC(15,4),
    N_ITC         NUMERIC(15,4),
    N_IVA         NUMERIC(15,4),
    N_CLIENTE     INTEGER,
    HORA          TIMESTAMP,
    N_PV          NUMERIC(15,4)
);

CREATE INDEX IX_T_CARGAS_FECHA ON T_CARGAS (F_COMP);
