-- Orva management and accounting database, PostgreSQL edition.
--
-- The same tables and columns as schema/orva.sqlite.sql (see there what
-- each holds), for a real client/server Orva database. Differences:
-- - Unquoted names fold to lower case here. The two names with a blank or
--   a hyphen are created quoted in lower case ("numero asiento",
--   "debe-haber"), which is what the statements' [NUMERO ASIENTO] and
--   [DEBE-HABER] become on this engine.
-- - Texts compare without regard to letter case, as on the production
--   server, through the nondeterministic collation ci (ICU, strength level
--   2: 'Ñandú' = 'ÑANDÚ', accents still count). Equality, ORDER BY, MAX,
--   DISTINCT, keys and indexes follow it. LIKE is not allowed on such
--   columns (the transfer uses none). Trailing blanks count, so '   1'
--   and '1' stay different codes.
-- - The integer columns (numero asiento, MES_OPERATIVO, PERIODO,
--   SECUENCIA and the counters, ranges and branches of the number books)
--   accept the quoted texts the transfer writes ('3', '2026', '00000126',
--   ' 5') and compare with quoted or unquoted numbers alike: a quoted
--   literal takes the column's type, leading and trailing blanks allowed.
-- - Lengths are enforced, as on the production server.

CREATE COLLATION IF NOT EXISTS ci (provider = icu, locale = 'und-u-ks-level2', deterministic = false);

-- Configuration: one row per key. Keys are unique without regard to case.
CREATE TABLE TA_CONFIGURACION (
    CLAVE       VARCHAR(50) COLLATE ci NOT NULL PRIMARY KEY,
    VALOR       VARCHAR(255) COLLATE ci,
    Grupo       VARCHAR(50) COLLATE ci
);

-- Article categories and units of measure.
CREATE TABLE V_TA_RUBROS (
    IDRUBRO     VARCHAR(4) COLLATE ci NOT NULL PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE ci
);

CREATE TABLE V_TA_UNIDAD (
    IDUNIDAD    VARCHAR(4) COLLATE ci NOT NULL PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE ci
);

-- Articles. IDARTICULO is the 25-character right-aligned key. Articles that
-- come from KTZ are keyed 'PROD_ID-PROD_RUB'. PRECIO2 is the price without
-- internal taxes, IMPUESTOS the internal taxes.
CREATE TABLE V_MA_ARTICULOS (
    IDARTICULO      VARCHAR(25) COLLATE ci NOT NULL PRIMARY KEY,
    CODIGOBARRA     VARCHAR(25) COLLATE ci,
    DESCRIPCION     VARCHAR(100) COLLATE ci,
    IDRUBRO         VARCHAR(4) COLLATE ci,
    IDUNIDAD        VARCHAR(4) COLLATE ci,
    PRECIO2         NUMERIC(19,4) DEFAULT 0,
    TASAIVA         NUMERIC(19,4) DEFAULT 0,
    IMPUESTOS       NUMERIC(19,4) DEFAULT 0,
    COSTO           NUMERIC(19,4) DEFAULT 0,
    CUENTAPROVEEDOR VARCHAR(20) COLLATE ci
);

CREATE INDEX IX_V_MA_ARTICULOS_RUBRO ON V_MA_ARTICULOS (IDRUBRO);

-- Components of composed articles: one unit of IDARTICULO uses Cantidad
-- units of IdArticuloInsumo.
CREATE TABLE V_MA_INSUMOS (
    IDARTICULO       VARCHAR(25) COLLATE ci NOT NULL,
    IdArticuloInsumo VARCHAR(25) COLLATE ci NOT NULL,
    IdUnidadInsumo   VARCHAR(4) COLLATE ci,
    Cantidad         NUMERIC(19,4) DEFAULT 0
);

CREATE INDEX IX_V_MA_INSUMOS_ART ON V_MA_INSUMOS (IDARTICULO);

-- Stock held per lot and deposit.
CREATE TABLE STK_SERIES_Y_LOTES (
    IdArticulo  VARCHAR(25) COLLATE ci NOT NULL,
    IDDEPOSITO  VARCHAR(4) COLLATE ci NOT NULL,
    NroLote     VARCHAR(25) COLLATE ci NOT NULL,
    CANTIDAD    NUMERIC(19,4) DEFAULT 0
);

CREATE INDEX IX_STK_SERIES_Y_LOTES ON STK_SERIES_Y_LOTES (IdArticulo, IDDEPOSITO, NroLote);

-- Provinces.
CREATE TABLE TA_ESTADOS (
    CODIGO      VARCHAR(4) COLLATE ci NOT NULL PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE ci
);

CREATE INDEX IX_TA_ESTADOS_DESCRIPCION ON TA_ESTADOS (DESCRIPCION);

-- Chart of accounts. Customers are accounts under the customer title
-- account (configuration key TITULOCLIENTES), their details in MA_CUENTASADIC.
CREATE TABLE MA_CUENTAS (
    CODIGO            VARCHAR(20) COLLATE ci NOT NULL PRIMARY KEY,
    DESCRIPCION       VARCHAR(100) COLLATE ci,
    TITULO            INTEGER DEFAULT 0,
    AJUSTE            INTEGER DEFAULT 0,
    LIBRO_IVA_VENTAS  INTEGER DEFAULT 0,
    LIBRO_IVA_COMPRAS INTEGER DEFAULT 0,
    TIPOVISTA         VARCHAR(4) COLLATE ci,
    DADA_DE_BAJA      INTEGER DEFAULT 0,
    MEDIODEPAGO       VARCHAR(4) COLLATE ci
);

-- Address, tax and document data of customer accounts. IVA is the IVA
-- condition code ('   1' registered, '   3' final consumer, '   5' small
-- taxpayer), DOCUMENTO_TIPO the document type code.
CREATE TABLE MA_CUENTASADIC (
    CODIGO           VARCHAR(20) COLLATE ci NOT NULL PRIMARY KEY,
    CALLE            VARCHAR(100) COLLATE ci,
    LOCALIDAD        VARCHAR(60) COLLATE ci,
    CPOSTAL          VARCHAR(10) COLLATE ci,
    PROVINCIA        VARCHAR(4) COLLATE ci,
    TELEFONO         VARCHAR(40) COLLATE ci,
    NUMERO_DOCUMENTO VARCHAR(20) COLLATE ci,
    IVA              VARCHAR(4) COLLATE ci,
    DOCUMENTO_TIPO   VARCHAR(4) COLLATE ci,
    IDCOND_CPRA_VTA  VARCHAR(4) COLLATE ci,
    OBSERVACIONES    VARCHAR(255) COLLATE ci,
    PAIS             VARCHAR(4) COLLATE ci,
    IDMOTIVOVTA      VARCHAR(4) COLLATE ci,
    CLASE            INTEGER
);

-- IVA accounts by IVA condition of the customer: registered, not registered,
-- final consumer, small taxpayer. One row.
CREATE TABLE TA_CUENTASIVA (
    DFI_IVARI   VARCHAR(20) COLLATE ci,
    DFI_IVARNI  VARCHAR(20) COLLATE ci,
    DFI_IVACF   VARCHAR(20) COLLATE ci,
    DFI_IVARM   VARCHAR(20) COLLATE ci
);

-- Sales accounts by sales reason. REPUESTOS is the account credited with
-- the sales of goods.
CREATE TABLE V_TA_INPUT_VENTAS (
    IdMotivoVTA VARCHAR(4) COLLATE ci NOT NULL PRIMARY KEY,
    REPUESTOS   VARCHAR(20) COLLATE ci
);

-- Journal. One row per entry line. The lines of one entry share
-- "numero asiento" and the voucher (TC, SUCURSAL, NUMERO, LETRA).
CREATE TABLE MV_ASIENTOS (
    FECHA             VARCHAR(19) COLLATE ci,
    FECHASUBDIARIO    VARCHAR(19) COLLATE ci,
    MES_OPERATIVO     INTEGER,
    "numero asiento"  INTEGER,
    CUENTA            VARCHAR(20) COLLATE ci,
    SECUENCIA         INTEGER,
    CABIMPORTE        NUMERIC(19,4) DEFAULT 0,
    "debe-haber"      VARCHAR(1) COLLATE ci,
    IMPORTE           NUMERIC(19,4) DEFAULT 0,
    PERIODO           INTEGER,
    TC                VARCHAR(4) COLLATE ci,
    SUCURSAL          VARCHAR(8) COLLATE ci,
    NUMERO            VARCHAR(16) COLLATE ci,
    LETRA             VARCHAR(1) COLLATE ci,
    TIPO_REG          VARCHAR(4) COLLATE ci,
    DETALLE           VARCHAR(100) COLLATE ci,
    MONEDA            VARCHAR(4) COLLATE ci,
    COTIZACION        NUMERIC(19,4) DEFAULT 1,
    IDCAJAS           VARCHAR(4) COLLATE ci,
    CPTE_ORIGEN       VARCHAR(20) COLLATE ci,
    CABCUENTA         VARCHAR(20) COLLATE ci,
    CABNOMBRE         VARCHAR(100) COLLATE ci,
    LIVA_TOTAL        NUMERIC(19,4) DEFAULT 0,
    LIVA_IMPNETONGRAV NUMERIC(19,4) DEFAULT 0,
    LIVA_IMPNETOGRAV  NUMERIC(19,4) DEFAULT 0,
    LIVA_IMPIVA       NUMERIC(19,4) DEFAULT 0,
    LIVA_ALICIVA      NUMERIC(19,4) DEFAULT 0,
    CABCONDIVA        VARCHAR(4) COLLATE ci,
    LIVA_TIPO         VARCHAR(20) COLLATE ci,
    CABCUIT           VARCHAR(20) COLLATE ci,
    Transmision       INTEGER
);

CREATE INDEX IX_MV_ASIENTOS_CPTE   ON MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA);
CREATE INDEX IX_MV_ASIENTOS_CUENTA ON MV_ASIENTOS (CUENTA, MES_OPERATIVO, "numero asiento");

-- Stock movements: positive quantities enter stock, negative ones leave it.
-- IDCOMPROBANTE is point of sale, number and letter of the voucher joined.
-- Sales lines, fuel loads and the stock engine each fill their own subset
-- of the columns.
CREATE TABLE V_MV_STOCK (
    TC                   VARCHAR(4) COLLATE ci,
    IDCOMPROBANTE        VARCHAR(20) COLLATE ci,
    IDCOMPLEMENTO        INTEGER,
    SECUENCIA            INTEGER,
    FECHA                VARCHAR(19) COLLATE ci,
    IdCaja               INTEGER,
    IDDEPOSITO           VARCHAR(4) COLLATE ci,
    IDARTICULO           VARCHAR(25) COLLATE ci,
    DESCRIPCION          VARCHAR(100) COLLATE ci,
    NroLote              VARCHAR(25) COLLATE ci,
    ControladoPor        VARCHAR(25) COLLATE ci,
    IdOrigen             VARCHAR(4) COLLATE ci,
    NroSerie             VARCHAR(25) COLLATE ci,
    IDUNIDAD             VARCHAR(4) COLLATE ci,
    CANTIDAD             NUMERIC(19,4) DEFAULT 0,
    CantidadUD           NUMERIC(19,4),
    IdUnidadBase         VARCHAR(4) COLLATE ci,
    CuentaProveedor      VARCHAR(20) COLLATE ci,
    IdMotivoStock        VARCHAR(4) COLLATE ci,
    PRECIOVENTA          NUMERIC(19,4) DEFAULT 0,
    Costo                NUMERIC(19,4),
    IMPUESTOS            NUMERIC(19,4),
    DtoItem              NUMERIC(19,4),
    IVARI                NUMERIC(19,4),
    ARTMONEDA            VARCHAR(4) COLLATE ci,
    Tc_Origen            VARCHAR(4) COLLATE ci,
    IdComprobante_Origen VARCHAR(20) COLLATE ci,
    Id_Origen            NUMERIC(19,4),
    IdTecnico            VARCHAR(4) COLLATE ci
);

CREATE INDEX IX_V_MV_STOCK_CPTE     ON V_MV_STOCK (TC, IDCOMPROBANTE);
CREATE INDEX IX_V_MV_STOCK_ARTICULO ON V_MV_STOCK (IDARTICULO, IDDEPOSITO);

-- Voucher headers.
CREATE TABLE V_MV_CPTE (
    TC                 VARCHAR(4) COLLATE ci,
    IDCOMPROBANTE      VARCHAR(20) COLLATE ci,
    IDCOMPLEMENTO      INTEGER DEFAULT 0,
    FECHA              VARCHAR(19) COLLATE ci,
    CUENTA             VARCHAR(20) COLLATE ci,
    NOMBRE             VARCHAR(100) COLLATE ci,
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
    TC            VARCHAR(4) COLLATE ci,
    IDCOMPROBANTE VARCHAR(20) COLLATE ci,
    IDCOMPLEMENTO INTEGER DEFAULT 0,
    IDARTICULO    VARCHAR(25) COLLATE ci,
    DESCRIPCION   VARCHAR(100) COLLATE ci,
    IDUNIDAD      VARCHAR(4) COLLATE ci,
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
    CODIGO                 VARCHAR(4) COLLATE ci NOT NULL,
    TALONARIO              INTEGER NOT NULL DEFAULT 1,
    DESCRIPCION            VARCHAR(60) COLLATE ci,
    SISTEMA                VARCHAR(20) COLLATE ci,
    Letras                 VARCHAR(14) COLLATE ci,
    Modificanumeracion     INTEGER DEFAULT 0,
    Externo                INTEGER DEFAULT 0,
    ES                     VARCHAR(1) COLLATE ci,
    Signo                  INTEGER,
    fechahora_modificacion VARCHAR(20) COLLATE ci,
    A_SUC_DEFAULT INTEGER DEFAULT 0, A_ULTIMO_NRO INTEGER DEFAULT 0, A_NRO_DESDE INTEGER DEFAULT 0, A_NRO_HASTA INTEGER DEFAULT 0, VenceA VARCHAR(19) COLLATE ci,
    B_SUC_DEFAULT INTEGER DEFAULT 0, B_ULTIMO_NRO INTEGER DEFAULT 0, B_NRO_DESDE INTEGER DEFAULT 0, B_NRO_HASTA INTEGER DEFAULT 0, VenceB VARCHAR(19) COLLATE ci,
    C_SUC_DEFAULT INTEGER DEFAULT 0, C_ULTIMO_NRO INTEGER DEFAULT 0, C_NRO_DESDE INTEGER DEFAULT 0, C_NRO_HASTA INTEGER DEFAULT 0, VenceC VARCHAR(19) COLLATE ci,
    E_SUC_DEFAULT INTEGER DEFAULT 0, E_ULTIMO_NRO INTEGER DEFAULT 0, E_NRO_DESDE INTEGER DEFAULT 0, E_NRO_HASTA INTEGER DEFAULT 0, VenceE VARCHAR(19) COLLATE ci,
    R_SUC_DEFAULT INTEGER DEFAULT 0, R_ULTIMO_NRO INTEGER DEFAULT 0, R_NRO_DESDE INTEGER DEFAULT 0, R_NRO_HASTA INTEGER DEFAULT 0, VenceR VARCHAR(19) COLLATE ci,
    X_SUC_DEFAULT INTEGER DEFAULT 0, X_ULTIMO_NRO INTEGER DEFAULT 0, X_NRO_DESDE INTEGER DEFAULT 0, X_NRO_HASTA INTEGER DEFAULT 0, VenceX VARCHAR(19) COLLATE ci,
    M_SUC_DEFAULT INTEGER DEFAULT 0, M_ULTIMO_NRO INTEGER DEFAULT 0, M_NRO_DESDE INTEGER DEFAULT 0, M_NRO_HASTA INTEGER DEFAULT 0, VenceM VARCHAR(19) COLLATE ci,
    PRIMARY KEY (CODIGO, TALONARIO)
);

-- The general voucher table, with the same columns, read when V_TA_CPTE
-- has no book for a voucher type.
CREATE TABLE TA_Comprobantes (
    CODIGO                 VARCHAR(4) COLLATE ci NOT NULL,
    TALONARIO              INTEGER NOT NULL DEFAULT 1,
    DESCRIPCION            VARCHAR(60) COLLATE ci,
    SISTEMA                VARCHAR(20) COLLATE ci,
    Letras                 VARCHAR(14) COLLATE ci,
    Modificanumeracion     INTEGER DEFAULT 0,
    Externo                INTEGER DEFAULT 0,
    ES                     VARCHAR(1) COLLATE ci,
    Signo                  INTEGER,
    fechahora_modificacion VARCHAR(20) COLLATE ci,
    A_SUC_DEFAULT INTEGER DEFAULT 0, A_ULTIMO_NRO INTEGER DEFAULT 0, A_NRO_DESDE INTEGER DEFAULT 0, A_NRO_HASTA INTEGER DEFAULT 0, VenceA VARCHAR(19) COLLATE ci,
    B_SUC_DEFAULT INTEGER DEFAULT 0, B_ULTIMO_NRO INTEGER DEFAULT 0, B_NRO_DESDE INTEGER DEFAULT 0, B_NRO_HASTA INTEGER DEFAULT 0, VenceB VARCHAR(19) COLLATE ci,
    C_SUC_DEFAULT INTEGER DEFAULT 0, C_ULTIMO_NRO INTEGER DEFAULT 0, C_NRO_DESDE INTEGER DEFAULT 0, C_NRO_HASTA INTEGER DEFAULT 0, VenceC VARCHAR(19) COLLATE ci,
    E_SUC_DEFAULT INTEGER DEFAULT 0, E_ULTIMO_NRO INTEGER DEFAULT 0, E_NRO_DESDE INTEGER DEFAULT 0, E_NRO_HASTA INTEGER DEFAULT 0, VenceE VARCHAR(19) COLLATE ci,
    R_SUC_DEFAULT INTEGER DEFAULT 0, R_ULTIMO_NRO INTEGER DEFAULT 0, R_NRO_DESDE INTEGER DEFAULT 0, R_NRO_HASTA INTEGER DEFAULT 0, VenceR VARCHAR(19) COLLATE ci,
    X_SUC_DEFAULT INTEGER DEFAULT 0, X_ULTIMO_NRO INTEGER DEFAULT 0, X_NRO_DESDE INTEGER DEFAULT 0, X_NRO_HASTA INTEGER DEFAULT 0, VenceX VARCHAR(19) COLLATE ci,
    M_SUC_DEFAULT INTEGER DEFAULT 0, M_ULTIMO_NRO INTEGER DEFAULT 0, M_NRO_DESDE INTEGER DEFAULT 0, M_NRO_HASTA INTEGER DEFAULT 0, VenceM VARCHAR(19) COLLATE ci,
    PRIMARY KEY (CODIGO, TALONARIO)
);
