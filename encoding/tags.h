#pragma once
// Tag numbers of the tagged values: 11000..11999 the fiscal requisites of
// documents, positions and totals; 12000..12120 further texts and counters
// of the register; 13102..13114 the tax table and per-tax sums.

#include <cstdint>

namespace tags {

// Registration record.
constexpr std::uint16_t kRegistrationThirdText = 11009;
constexpr std::uint16_t kDateTime = 11012;  // U32, read as U32 or U64
constexpr std::uint16_t kTaxpayerNumber = 11018;
constexpr std::uint16_t kStorageNumber = 11037;
constexpr std::uint16_t kRegistrationNumber = 11041;  // the number at offset 960
constexpr std::uint16_t kRegistrationFirstText = 11048;
constexpr std::uint16_t kRegistrationSecondText = 11187;

// Document header.
constexpr std::uint16_t kCashierName = 11021;
constexpr std::uint16_t kShiftNumber = 11038;
constexpr std::uint16_t kDocumentNumber = 11040;
constexpr std::uint16_t kFiscalSign = 11077;
constexpr std::uint16_t kDocumentRegistrationNumber = 12117;

// Receipt sums and numbers.
constexpr std::uint16_t kChange = 11019;
constexpr std::uint16_t kReceiptTotal = 11020;
constexpr std::uint16_t kCashPayment = 11031;
constexpr std::uint16_t kReceiptNumber = 11042;
constexpr std::uint16_t kReceiptKind = 11054;
constexpr std::uint16_t kNonCashPayment = 11081;

// Receipt position.
constexpr std::uint16_t kQuantity = 11023;
constexpr std::uint16_t kPositionExtraLine = 11029;
constexpr std::uint16_t kPositionName = 11030;
constexpr std::uint16_t kPositionTotal = 11043;  // after discount
constexpr std::uint16_t kPosition = 11059;       // container
constexpr std::uint16_t kPrice = 11079;
constexpr std::uint16_t kTaxSum = 11102;
constexpr std::uint16_t kProductCode = 11163;
constexpr std::uint16_t kPositionTaxNumber = 11199;
constexpr std::uint16_t kDiscountNumber = 11303;
constexpr std::uint16_t kDiscountSum = 11304;
constexpr std::uint16_t kPositionSecondText = 12000;
constexpr std::uint16_t kUnit = 12108;

// Sections.
constexpr std::uint16_t kSection = 11300;  // container
constexpr std::uint16_t kSectionNumber = 11301;
constexpr std::uint16_t kSectionName = 11302;

// Counters.
constexpr std::uint16_t kCount = 11118;
constexpr std::uint16_t kSaleCounters = 11129;  // containers by operation kind
constexpr std::uint16_t kReturnOfSaleCounters = 11130;
constexpr std::uint16_t kPurchaseCounters = 11131;
constexpr std::uint16_t kReturnOfPurchaseCounters = 11132;
constexpr std::uint16_t kCashAmount = 11136;
constexpr std::uint16_t kNonCashAmount = 11138;
constexpr std::uint16_t kGrossCounters = 11157;               // container
constexpr std::uint16_t kRegistrationPeriodCounters = 11158;  // container
constexpr std::uint16_t kShiftCounters = 11194;               // container
constexpr std::uint16_t kCountersTotal = 11201;
constexpr std::uint16_t kCashInCount = 12001;
constexpr std::uint16_t kCashInAmount = 12002;
constexpr std::uint16_t kCashOutCount = 12003;
constexpr std::uint16_t kCashOutAmount = 12004;

// Additional line.
constexpr std::uint16_t kAdditionalLine = 12118;  // container
constexpr std::uint16_t kAdditionalLineNumber = 12119;
constexpr std::uint16_t kAdditionalLineText = 12120;

// Taxes.
constexpr std::uint16_t kTaxKind = 13102;
constexpr std::uint16_t kTaxRate = 13103;
constexpr std::uint16_t kTaxName = 13104;
constexpr std::uint16_t kTaxFirst = 13105;  // containers 13105..13109: tax index 0..4
constexpr std::uint16_t kTaxLast = 13109;
constexpr std::uint16_t kTaxAmountFirst = 13110;  // 13110..13114: per-tax amounts, index 0..4
constexpr std::uint16_t kTaxAmountLast = 13114;

}  // namespace tags
