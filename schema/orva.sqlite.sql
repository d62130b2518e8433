-- Orva management and accounting database, SQLite edition.
--
-- The tables and columns of Orva that the KTZ transfer reads or writes:
-- configuration, articles with their categories, units and components, lots,
-- customer accounts with their details, provinces, the journal (MV_ASIENTOS)
-- with its IVA and sales accounts, stock movements, vouchers with their
-- lines, and the voucher number books. The V_ tables stand for the views of
-- the same name on the production server. Here they are plain tables, since
-- SQLite views cannot be written to.
--
-- Conventions:
-- - The production server compares texts without regard to letter case, so
--   every text column is declared COLLATE NOCASE (SQLite folds ASCII letters
--   only: 'Ñ' and 'ñ' still differ here).
-- - Codes are fixed-width texts right-aligned with blanks: category, unit,
--   deposit and table codes 4 characters ('   1', '  KG'), article keys 25.
-- - Columns that the transfer writes as quoted text but compares as numbers,
--   or the other way round, have INTEGER affinity, which stores '3',
--   '2026' or '00000126' as the numbers 3, 2026 and 126 and compares a
--   quoted '123' with the number 123: MV_ASIENTOS.[NUMERO ASIENTO],
--   MES_OPERATIVO, PERIODO and SECUENCIA, and the counters, ranges and branches
--   of the number books (letter_ULTIMO_NRO, _NRO_DESDE, _NRO_HASTA,
--   _SUC_DEFAULT).
-- - Voucher branches and numbers with their leading zeros (SUCURSAL '0005',
--   NUMERO '00001234', IDCOMPROBANTE '000500001234A') are texts.
-- - Amounts are NUMERIC(19,4), currency with four decimals. Dates are texts
--   'YYYY-MM-DD'.
-- - Columns the transfer does not write are nullable or have a default.

-- Configuration: one row per key. Keys are unique without regard to case.
CREATE TABLE TA_CONFIGURACION (
    CLAVE       VARCHAR(50) NOT NULL COLLATE NOCASE PRIMARY KEY,
    VALOR       VARCHAR(255) COLLATE NOCASE,
    Grupo       VARCHAR(50) COLLATE NOCASE
);

-- Article categories and units of measure.
CREATE TABLE V_TA_RUBROS (
    IDRUBRO     VARCHAR(4) NOT NULL COLLATE NOCASE PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE NOCASE
);

CREATE TABLE V_TA_UNIDAD (
    IDUNIDAD    VARCHAR(4) NOT NULL COLLATE NOCASE PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE NOCASE
);

-- Articles. IDARTICULO is the 25-character right-aligned key. Articles that
-- come from KTZ are keyed 'PROD_ID-PROD_RUB'. PRECIO2 is the price without
-- internal taxes, IMPUESTOS the internal taxes.
CREATE TABLE V_MA_ARTICULOS (
    IDARTICULO      VARCHAR(25) NOT NULL COLLATE NOCASE PRIMARY KEY,
    CODIGOBARRA     VARCHAR(25) COLLATE NOCASE,
    DESCRIPCION     VARCHAR(100) COLLATE NOCASE,
    IDRUBRO         VARCHAR(4) COLLATE NOCASE,
    IDUNIDAD        VARCHAR(4) COLLATE NOCASE,
    PRECIO2         NUMERIC(19,4) DEFAULT 0,
    TASAIVA         NUMERIC(19,4) DEFAULT 0,
    IMPUESTOS       NUMERIC(19,4) DEFAULT 0,
    COSTO           NUMERIC(19,4) DEFAULT 0,
    CUENTAPROVEEDOR VARCHAR(20) COLLATE NOCASE
);

CREATE INDEX IX_V_MA_ARTICULOS_RUBRO ON V_MA_ARTICULOS (IDRUBRO);

-- Components of composed articles: one unit of IDARTICULO uses Cantidad
-- units of IdArticuloInsumo.
CREATE TABLE V_MA_INSUMOS (
    IDARTICULO       VARCHAR(25) NOT NULL COLLATE NOCASE,
    IdArticuloInsumo VARCHAR(25) NOT NULL COLLATE NOCASE,
    IdUnidadInsumo   VARCHAR(4) COLLATE NOCASE,
    Cantidad         NUMERIC(19,4) DEFAULT 0
);

CREATE INDEX IX_V_MA_INSUMOS_ART ON V_MA_INSUMOS (IDARTICULO);

-- Stock held per lot and deposit.
CREATE TABLE STK_SERIES_Y_LOTES (
    IdArticulo  VARCHAR(25) NOT NULL COLLATE NOCASE,
    IDDEPOSITO  VARCHAR(4) NOT NULL COLLATE NOCASE,
    NroLote     VARCHAR(25) NOT NULL COLLATE NOCASE,
    CANTIDAD    NUMERIC(19,4) DEFAULT 0
);

CREATE INDEX IX_STK_SERIES_Y_LOTES ON STK_SERIES_Y_LOTES (IdArticulo, IDDEPOSITO, NroLote);

-- Provinces.
CREATE TABLE TA_ESTADOS (
    CODIGO      VARCHAR(4) NOT NULL COLLATE NOCASE PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE NOCASE
);

CREATE INDEX IX_TA_ESTADOS_DESCRIPCION ON TA_ESTADOS (DESCRIPCION);

-- Chart of accounts. Customers are accounts under the customer title
-- account (configuration key TITULOCLIENTES), their details in MA_CUENTASADIC.
CREATE TABLE MA_CUENTAS (
    CODIGO            VARCHAR(20) NOT NULL COLLATE NOCASE PRIMARY KEY,
    DESCRIPCION       VARCHAR(100) COLLATE NOCASE,
    TITULO            INTEGER DEFAULT 0,
    AJUSTE            INTEGER DEFAULT 0,
    LIBRO_IVA_VENTAS  INTEGER DEFAULT 0,
    LIBRO_IVA_COMPRAS INTEGER DEFAULT 0,
    TIPOVISTA         VARCHAR(4) COLLATE NOCASE,
    DADA_DE_BAJA      INTEGER DEFAULT 0,
    MEDIODEPAGO       VARCHAR(4) COLLATE NOCASE
);

-- Address, tax and document data of customer accounts. IVA is the IVA
-- condition code ('   1' registered, '   3' final consumer, '   5' small
-- taxpayer), DOCUMENTO_TIPO the document type code.
CREATE TABLE MA_CUENTASADIC (
    CODIGO           VARCHAR(20) NOT NULL COLLATE NOCASE PRIMARY KEY,
    CALLE            VARCHAR(100) COLLATE NOCASE,
    LOCALIDAD        VARCHAR(60) COLLATE NOCASE,
    CPOSTAL          VARCHAR(10) COLLATE NOCASE,
    PROVINCIA        VARCHAR(4) COLLATE NOCASE,
    TELEFONO         VARCHAR(40) COLLATE NOCASE,
    NUMERO_DOCUMENTO VARCHAR(20) COLLATE NOCASE,
    IVA              VARCHAR(4) COLLATE NOCASE,
    DOCUMENTO_TIPO   VARCHAR(4) COLLATE NOCASE,
    IDCOND_CPRA_VTA  VARCHAR(4) COLLATE NOCASE,
    OBSERVACIONES    VARCHAR(255) COLLATE NOCASE,
    PAIS             VARCHAR(4) COLLATE NOCASE,
    IDMOTIVOVTA      VARCHAR(4) COLLATE NOCASE,
    CLASE            INTEGER
);

-- IVA accounts by IVA condition of the customer: registered, not registered,
-- final consumer, small taxpayer. One row.
CREATE TABLE TA_CUENTASIVA (
    DFI_IVARI   VARCHAR(20) COLLATE NOCASE,
    DFI_IVARNI  VARCHAR(20) COLLATE NOCASE,
    DFI_IVACF   VARCHAR(20) COLLATE NOCASE,
    DFI_IVARM   VARCHAR(20) COLLATE NOCASE
);

-- Sales accounts by sales reason. REPUESTOS is the account credited with
-- the sales of goods.
CREATE TABLE V_TA_INPUT_VENTAS (
    IdMotivoVTA VARCHAR(4) NOT NULL COLLATE NOCASE PRIMARY KEY,
    REPUESTOS   VARCHAR(20) COLLATE NOCASE
);

-- Journal. One row per entry line. The lines of one entry share
-- [NUMERO ASIENTO] and the voucher (TC, SUCURSAL, NUMERO, LETRA).
CREATE TABLE MV_ASIENTOS (
    FECHA             VARCHAR(19) COLLATE NOCASE,
    FECHASUBDIARIO    VARCHAR(19) COLLATE NOCASE,
    MES_OPERATIVO     INTEGER,
    [NUMERO ASIENTO]  INTEGER,
    CUENTA            VARCHAR(20) COLLATE NOCASE,
    SECUENCIA         INTEGER,
    CABIMPORTE        NUMERIC(19,4) DEFAULT 0,
    [DEBE-HABER]      VARCHAR(1) COLLATE NOCASE,
    IMPORTE           NUMERIC(19,4) DEFAULT 0,
    PERIODO           INTEGER,
    TC                VARCHAR(4) COLLATE NOCASE,
    SUCURSAL          VARCHAR(8) COLLATE NOCASE,
    NUMERO            VARCHAR(16) COLLATE NOCASE,
    LETRA             VARCHAR(1) COLLATE NOCASE,
    TIPO_REG          VARCHAR(4) COLLATE NOCASE,
    DETALLE           VARCHAR(100) COLLATE NOCASE,
    MONEDA            VARCHAR(4) COLLATE NOCASE,
    COTIZACION        NUMERIC(19,4) DEFAULT 1,
    IDCAJAS           VARCHAR(4) COLLATE NOCASE,
    CPTE_ORIGEN       VARCHAR(20) COLLATE NOCASE,
    CABCUENTA         VARCHAR(20) COLLATE NOCASE,
    CABNOMBRE         VARCHAR(100) COLLATE NOCASE,
    LIVA_TOTAL        NUMERIC(19,4) DEFAULT 0,
    LIVA_IMPNETONGRAV NUMERIC(19,4) DEFAULT 0,
    LIVA_IMPNETOGRAV  NUMERIC(19,4) DEFAULT 0,
    LIVA_IMPIVA       NUMERIC(19,4) DEFAULT 0,
    LIVA_ALICIVA      NUMERIC(19,4) DEFAULT 0,
    CABCONDIVA        VARCHAR(4) COLLATE NOCASE,
    LIVA_TIPO         VARCHAR(20) COLLATE NOCASE,
    CABCUIT           VARCHAR(20) COLLATE NOCASE,
    Transmision       INTEGER
);

CREATE INDEX IX_MV_ASIENTOS_CPTE   ON MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA);
CREATE INDEX IX_MV_ASIENTOS_CUENTA ON MV_ASIENTOS (CUENTA, MES_OPERATIVO, [NUMERO ASIENTO]);

-- Stock movements: positive quantities enter stock, negative ones leave it.
-- IDCOMPROBANTE is point of sale, number and letter of the voucher joined.
-- Sales lines, fuel loads and the stock engine each fill their own subset
-- of the columns.
CREATE TABLE V_MV_STOCK (
    TC                   VARCHAR(4) COLLATE NOCASE,
    IDCOMPROBANTE        VARCHAR(20) COLLATE NOCASE,
    IDCOMPLEMENTO        INTEGER,
    SECUENCIA            INTEGER,
    FECHA                VARCHAR(19) COLLATE NOCASE,
    IdCaja               INTEGER,
    IDDEPOSITO           VARCHAR(4) COLLATE NOCASE,
    IDARTICULO           VARCHAR(25) COLLATE NOCASE,
    DESCRIPCION          VARCHAR(100) COLLATE NOCASE,
    NroLote              VARCHAR(25) COLLATE NOCASE,
    ControladoPor        VARCHAR(25) COLLATE NOCASE,
    IdOrigen             VARCHAR(4) COLLATE NOCASE,
    NroSerie             VARCHAR(25) COLLATE NOCASE,
    IDUNIDAD             VARCHAR(4) COLLATE NOCASE,
    CANTIDAD             NUMERIC(19,4) DEFAULT 0,
    CantidadUD           NUMERIC(19,4),
    IdUnidadBase         VARCHAR(4) COLLATE NOCASE,
    CuentaProveedor      VARCHAR(20) COLLATE NOCASE,
    IdMotivoStock        VARCHAR(4) COLLATE NOCASE,
    PRECIOVENTA          NUMERIC(19,4) DEFAULT 0,
    Costo                NUMERIC(19,4),
    IMPUESTOS            NUMERIC(19,4),
    DtoItem              NUMERIC(19,4),
    IVARI                NUMERIC(19,4),
    ARTMONEDA            VARCHAR(4) COLLATE NOCASE,
    Tc_Origen            VARCHAR(4) COLLATE NOCASE,
    IdComprobante_Origen VARCHAR(20) COLLATE NOCASE,
    Id_Origen            NUMERIC(19,4),
    IdTecnico            VARCHAR(4) COLLATE NOCASE
);

CREATE INDEX IX_V_MV_STOCK_CPTE     ON V_MV_STOCK (TC, IDCOMPROBANTE);
CREATE INDEX IX_V_MV_STOCK_ARTICULO ON V_MV_STOCK (IDARTICULO, IDDEPOSITO);

-- Voucher headers.
CREATE TABLE V_MV_CPTE (
    TC                 VARCHAR(4) COLLATE NOCASE,
    IDCOMPROBANTE      VARCHAR(20) COLLATE NOCASE,
    IDCOMPLEMENTO      INTEGER DEFAULT 0,
    FECHA              VARCHAR(19) COLLATE NOCASE,
    CUENTA             VARCHAR(20) COLLATE NOCASE,
    NOMBRE             VARCHAR(100) COLLATE NOCASE,
    IMPORTE            NUMERIC(19,4) DEFAULT 0,
    IMPORTE_S_IVA      NUMERIC(19,4) DEFAULT 0,
    NETOGRAVADO        NUMERIC(19,4) DEFAULT 0,
    NETONOGRAVADO      NUMERIC(19,4) DEFAULT 0,
    IMPORTEIVA         NUMERIC(19,4) DEFAULT 0,
    EXENTOIVAARTICULOS INTEGER DEFAULT 0,
    CLASEPRECIO        INTEGER
);

CREATE INDEX IX_V_MV_CPTE ON V_MV_CPTE (TC, IDCOMPROBANTE);

-- Voucher article lines. IMPORTE is the unit price without IVA and internal
-- taxes, TOTAL the net of the line plus internal taxes, TOTALFINAL its total.
CREATE TABLE V_MV_CPTEINSUMOS (
    TC            VARCHAR(4) COLLATE NOCASE,
    IDCOMPROBANTE VARCHAR(20) COLLATE NOCASE,
    IDCOMPLEMENTO INTEGER DEFAULT 0,
    IDARTICULO    VARCHAR(25) COLLATE NOCASE,
    DESCRIPCION   VARCHAR(100) COLLATE NOCASE,
    IDUNIDAD      VARCHAR(4) COLLATE NOCASE,
    CANTIDAD      NUMERIC(19,4) DEFAULT 0,
    IMPORTE       NUMERIC(19,4) DEFAULT 0,
    IMPORTE_S_IVA NUMERIC(19,4) DEFAULT 0,
    TOTAL         NUMERIC(19,4) DEFAULT 0,
    ALICIVA       NUMERIC(19,4) DEFAULT 0,
    TOTALFINAL    NUMERIC(19,4) DEFAULT 0,
    IMPUESTOS     NUMERIC(19,4) DEFAULT 0,
    EXENTO        INTEGER DEFAULT 0,
    CLASEPRECIO   INTEGER
);

CREATE INDEX IX_V_MV_CPTEINSUMOS ON V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE);

-- Voucher number books (talonarios). CODIGO is the voucher type
-- right-aligned in 4 characters, SISTEMA the module it belongs to (VENTAS,
-- STOCK, COMPRAS ...), Letras the letters the book serves and ES the stock
-- direction ('E' in, 'S' out). For each letter L of A, B, C, E, R, X, M:
-- L_SUC_DEFAULT is the point of sale of the book, L_ULTIMO_NRO the next number to
-- give, L_NRO_DESDE..L_NRO_HASTA the range and VenceL the expiry date.
-- Flags (Modificanumeracion, Externo) are 0 or 1.
-- fechahora_modificacion holds the moment of the last counter change as
-- 'dd/mm/yy hh:mm'.
CREATE TABLE V_TA_CPTE (
    CODIGO                 VARCHAR(4) NOT NULL COLLATE NOCASE,
    TALONARIO              INTEGER NOT NULL DEFAULT 1,
    DESCRIPCION            VARCHAR(60) COLLATE NOCASE,
    SISTEMA                VARCHAR(20) COLLATE NOCASE,
    Letras                 VARCHAR(14) COLLATE NOCASE,
    Modificanumeracion     INTEGER DEFAULT 0,
    Externo                INTEGER DEFAULT 0,
    ES                     VARCHAR(1) COLLATE NOCASE,
    Signo                  INTEGER,
    fechahora_modificacion VARCHAR(20) COLLATE NOCASE,
    A_SUC_DEFAULT INTEGER DEFAULT 0, A_ULTIMO_NRO INTEGER DEFAULT 0, A_NRO_DESDE INTEGER DEFAULT 0, A_NRO_HASTA INTEGER DEFAULT 0, VenceA VARCHAR(19) COLLATE NOCASE,
    B_SUC_DEFAULT INTEGER DEFAULT 0, B_ULTIMO_NRO INTEGER DEFAULT 0, B_NRO_DESDE INTEGER DEFAULT 0, B_NRO_HASTA INTEGER DEFAULT 0, VenceB VARCHAR(19) COLLATE NOCASE,
    C_SUC_DEFAULT INTEGER DEFAULT 0, C_ULTIMO_NRO INTEGER DEFAULT 0, C_NRO_DESDE INTEGER DEFAULT 0, C_NRO_HASTA INTEGER DEFAULT 0, VenceC VARCHAR(19) COLLATE NOCASE,
    E_SUC_DEFAULT INTEGER DEFAULT 0, E_ULTIMO_NRO INTEGER DEFAULT 0, E_NRO_DESDE INTEGER DEFAULT 0, E_NRO_HASTA INTEGER DEFAULT 0, VenceE VARCHAR(19) COLLATE NOCASE,
    R_SUC_DEFAULT INTEGER DEFAULT 0, R_ULTIMO_NRO INTEGER DEFAULT 0, R_NRO_DESDE INTEGER DEFAULT 0, R_NRO_HASTA INTEGER DEFAULT 0, VenceR VARCHAR(19) COLLATE NOCASE,
    X_SUC_DEFAULT INTEGER DEFAULT 0, X_ULTIMO_NRO INTEGER DEFAULT 0, X_NRO_DESDE INTEGER DEFAULT 0, X_NRO_HASTA INTEGER DEFAULT 0, VenceX VARCHAR(19) COLLATE NOCASE,
    M_SUC_DEFAULT INTEGER DEFAULT 0, M_ULTIMO_NRO INTEGER DEFAULT 0, M_NRO_DESDE INTEGER DEFAULT 0, M_NRO_HASTA INTEGER DEFAULT 0, VenceM VARCHAR(19) COLLATE NOCASE,
    PRIMARY KEY (CODIGO, TALONARIO)
);

-- The general voucher table, with the same columns, read when V_TA_CPTE
-- has no book for a voucher type.
CREATE TABLE TA_Comprobantes (
    CODIGO                 VARCHAR(4) NOT NULL COLLATE NOCASE,
    TALONARIO              INTEGER NOT NULL DEFAULT 1,
    DESCRIPCION            VARCHAR(60) COLLATE NOCASE,
    SISTEMA                VARCHAR(20) COLLATE NOCASE,
    Letras                 VARCHAR(14) COLLATE NOCASE,
    Modificanumeracion     INTEGER DEFAULT 0,
    Externo                INTEGER DEFAULT 0,
    ES                     VARCHAR(1) COLLATE NOCASE,
    Signo                  INTEGER,
    fechahora_modificacion VARCHAR(20) COLLATE NOCASE,
    A_SUC_DEFAULT INTEGER DEFAULT 0, A_ULTIMO_NRO INTEGER DEFAULT 0, A_NRO_DESDE INTEGER DEFAULT 0, A_NRO_HASTA INTEGER DEFAULT 0, VenceA VARCHAR(19) COLLATE NOCASE,
    B_SUC_DEFAULT INTEGER DEFAULT 0, B_ULTIMO_NRO INTEGER DEFAULT 0, B_NRO_DESDE INTEGER DEFAULT 0, B_NRO_HASTA INTEGER DEFAULT 0, VenceB VARCHAR(19) COLLATE NOCASE,
    C_SUC_DEFAULT INTEGER DEFAULT 0, C_ULTIMO_NRO INTEGER DEFAULT 0, C_NRO_DESDE INTEGER DEFAULT 0, C_NRO_HASTA INTEGER DEFAULT 0, VenceC VARCHAR(19) COLLATE NOCASE,
    E_SUC_DEFAULT INTEGER DEFAULT 0, E_ULTIMO_NRO INTEGER DEFAULT 0, E_NRO_DESDE INTEGER DEFAULT 0, E_NRO_HASTA INTEGER DEFAULT 0, VenceE VARCHAR(19) COLLATE NOCASE,
    R_SUC_DEFAULT INTEGER DEFAULT 0, R_ULTIMO_NRO INTEGER DEFAULT 0, R_NRO_DESDE INTEGER DEFAULT 0, R_NRO_HASTA INTEGER DEFAULT 0, VenceR VARCHAR(19) COLLATE NOCASE,
    X_SUC_DEFAULT INTEGER DEFAULT 0, X_ULTIMO_NRO INTEGER DEFAULT 0, X_NRO_DESDE INTEGER DEFAULT 0, X_NRO_HASTA INTEGER DEFAULT 0, VenceX VARCHAR(19) COLLATE NOCASE,
    M_SUC_DEFAULT INTEGER DEFAULT 0, M_ULTIMO_NRO INTEGER DEFAULT 0, M_NRO_DESDE INTEGER DEFAULT 0, M_NRO_HASTA INTEGER DEFAULT 0, VenceM VARCHAR(19) COLLATE NOCASE,
    PRIMARY KEY (CODIGO, TALONARIO)
);
