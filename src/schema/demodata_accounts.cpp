#include "demodata.h"

// The demo chart of accounts. An account code is its five-character category
// key, a three-digit number within the category and "000": the cash account
// is "10101" "001" "000". The key is stored split 1 + 2 + 2 over a_kubun,
// b_kubun and c_kubun.

namespace schema::demo {

namespace {

struct Account {
    int number;
    const char* name;
    const char* note; // completes the classification text
};

struct Category {
    const char* key;
    const char* classification;
    std::initializer_list<Account> accounts;
};

// Categories the account lookup lists with their classification text.
const Category kListed[] = {
    {"10101", "자산 > 유동자산 > 당좌자산",
     {// 1: the cash account, cashAccount()
      {2, "당좌예금", "은행 당좌거래 예금"},
      {3, "보통예금", "은행 보통예금 계좌"},
      {4, "정기예금", "만기 1년 이내 정기예금"},
      {5, "정기적금", "만기 1년 이내 정기적금"},
      {6, "단기매매증권", "시장성 있는 단기 투자 주식"},
      {7, "외상매출금", "상품·제품 외상 판매 대금"},
      {8, "받을어음", "거래처에서 받은 약속어음"},
      {9, "미수금", "상품 외 자산 처분 미수액"},
      {10, "선급금", "상품 매입 계약금 선지급"},
      {11, "선급비용", "기간 미경과 보험료 등"},
      {12, "가지급금", "출장비 등 임시 지급액"},
      {13, "부가세대급금", "매입 부가가치세"}}},
    {"10102", "자산 > 유동자산 > 재고자산",
     {{1, "상품", "판매 목적 매입 상품"},
      {2, "제품", "자가 제조 완성품"},
      {3, "반제품", "판매 가능한 중간 제품"},
      {4, "원재료", "제조 투입 원재료"},
      {5, "부재료", "제조 투입 보조 재료"},
      {6, "재공품", "제조 공정 중인 제품"},
      {7, "저장품", "소모품·수선용 부품 재고"},
      {8, "미착품", "운송 중인 매입 상품"}}},
    {"10201", "자산 > 비유동자산 > 투자자산",
     {{1, "장기성예금", "만기 1년 초과 예금"},
      {2, "장기투자증권", "장기 보유 목적 유가증권"},
      {3, "장기대여금", "회수 1년 초과 대여금"},
      {4, "투자부동산", "투자 목적 토지·건물"}}},
    {"10202", "자산 > 비유동자산 > 유형자산",
     {{1, "토지", "사업용 토지"},
      {2, "건물", "사옥·공장 건물"},
      {3, "구축물", "담장·포장도로 등"},
      {4, "기계장치", "생산 설비"},
      {5, "차량운반구", "업무용 차량"},
      {6, "공구와기구", "생산용 공구"},
      {7, "비품", "사무용 집기·전산 장비"},
      {8, "건설중인자산", "완공 전 건설 지출"}}},
    {"10203", "자산 > 비유동자산 > 무형자산",
     {{1, "영업권", "사업 인수 시 초과 지급액"},
      {2, "특허권", "등록 특허"},
      {3, "상표권", "등록 상표"},
      {4, "소프트웨어", "업무용 프로그램"},
      {5, "개발비", "신제품 개발 지출"}}},
    {"10204", "자산 > 비유동자산 > 이연자산",
     {{1, "창업비", "설립 등기 비용"}, {2, "신주발행비", "증자 관련 비용"}, {3, "사채발행비", "사채 발행 비용"}}},
    {"20101", "부채 > 유동부채",
     {{1, "외상매입금", "상품·원재료 외상 매입 대금"},
      {2, "지급어음", "발행한 약속어음"},
      {3, "미지급금", "상품 외 구입 미지급액"},
      {4, "예수금", "원천세·보험료 예수액"},
      {5, "부가세예수금", "매출 부가가치세"},
      {6, "선수금", "상품 판매 계약금 선수"},
      {7, "단기차입금", "1년 이내 상환 차입금"},
      {8, "미지급비용", "기간 경과 미지급 비용"},
      {9, "미지급법인세", "납부할 법인세"}}},
    {"20201", "부채 > 고정부채",
     {{1, "장기차입금", "1년 초과 상환 차입금"},
      {2, "사채", "발행 회사채"},
      {3, "퇴직급여충당금", "임직원 퇴직금 적립"},
      {4, "장기미지급금", "1년 초과 지급 예정액"}}},
    {"20301", "부채 > 이연부채", {{1, "이연법인세부채", "일시적 차이 법인세"}, {2, "장기선수수익", "1년 초과 선수 수익"}}},
    {"30101", "자본 > 자본금", {{1, "보통주자본금", "보통주 발행 금액"}, {2, "우선주자본금", "우선주 발행 금액"}}},
    {"30201", "자본 > 자본잉여금",
     {{1, "주식발행초과금", "액면 초과 납입액"}, {2, "감자차익", "자본 감소 차익"}, {3, "자기주식처분이익", "자기주식 처분 이익"}}},
    {"30301", "자본 > 이익잉여금",
     {{1, "이익준비금", "법정 적립금"}, {2, "사업확장적립금", "임의 적립금"}, {3, "미처분이익잉여금", "처분 전 이익"}}},
    {"30401", "자본 > 자본조정",
     {{1, "자기주식", "취득한 자사 주식"},
      {2, "주식할인발행차금", "액면 미달 발행 차액"},
      {3, "미교부주식배당금", "교부 전 주식배당"}}},
    {"40403", "제조원가 > 노무비",
     {{1, "임금", "생산직 임금"}, {2, "상여금", "생산직 상여"}, {3, "제수당", "생산직 수당"}, {4, "퇴직급여", "생산직 퇴직급여"}}},
    {"40404", "제조원가 > 제조경비",
     {{1, "복리후생비", "생산직 복리후생"},
      {2, "전력비", "공장 전기요금"},
      {3, "가스수도료", "공장 가스·수도"},
      {4, "수선비", "생산설비 수선"},
      {5, "소모품비", "공장 소모품"},
      {6, "감가상각비", "생산설비 상각"},
      {7, "외주가공비", "외부 위탁 가공"}}},
    {"40502", "공사원가 > 노무비", {{1, "임금", "현장 기능직 임금"}, {2, "일용노무비", "현장 일용직"}, {3, "퇴직급여", "현장 퇴직급여"}}},
    {"40503", "공사원가 > 경비", {{1, "외주비", "하도급 공사비"}, {2, "장비임차료", "건설장비 임차"}, {3, "현장경비", "현장 사무실 경비"}}},
    {"40701", "판매비와관리비 > 일반관리비",
     {{1, "급여", "관리직 급여"},
      {2, "상여금", "관리직 상여"},
      {3, "퇴직급여", "관리직 퇴직급여"},
      {4, "복리후생비", "식대·경조사·건강검진"},
      {5, "여비교통비", "출장비·시내 교통비"},
      {6, "접대비", "거래처 접대"},
      {7, "통신비", "전화·인터넷·우편"},
      {8, "수도광열비", "사무실 전기·가스·수도"},
      {9, "세금과공과", "재산세·자동차세·협회비"},
      {10, "감가상각비", "관리 자산 상각"},
      {11, "지급임차료", "사무실 임차료"},
      {12, "수선비", "사무실 수선"},
      {13, "보험료", "화재·자동차 보험"},
      {14, "차량유지비", "유류대·주차료·통행료"},
      {15, "운반비", "택배·화물 운송"},
      {16, "교육훈련비", "직원 교육"},
      {17, "도서인쇄비", "도서·명함·인쇄물"},
      {18, "소모품비", "사무용 소모품"},
      {19, "지급수수료", "기장·송금·법률 수수료"},
      {20, "광고선전비", "광고·판촉물"},
      {21, "잡비", "기타 소액 경비"}}},
    {"41001", "영업외비용",
     {{1, "이자비용", "차입금 이자"},
      {2, "외환차손", "외화 결제 환차손"},
      {3, "기부금", "지정·법정 기부금"},
      {4, "매출채권처분손실", "어음 할인 손실"},
      {5, "유형자산처분손실", "설비 매각 손실"},
      {6, "잡손실", "기타 영업외 손실"}}},
    {"41301", "특별손실", {{1, "재해손실", "화재·수해 손실"}, {2, "전기오류수정손실", "전기 회계 오류 수정"}}},
    {"41501", "법인세등",
     {{1, "법인세비용", "당기 법인세"}, {2, "법인세추납액", "전기 법인세 추가 납부"}, {3, "법인세환급액", "전기 법인세 환급"}}},
};

// Categories the account lookup leaves out (sales, cost of sales, material
// costs, non-operating and extraordinary income).
const Category kExcluded[] = {
    {"40101", "매출액", {{1, "상품매출", "상품 판매 수익"}, {2, "제품매출", "제품 판매 수익"}}},
    {"40201", "매출원가", {{1, "상품매출원가", "판매 상품 원가"}}},
    {"40301", "제조원가 > 재료비", {{1, "원재료비", "투입 원재료"}}},
    {"40302", "제조원가 > 재료비", {{1, "부재료비", "투입 부재료"}}},
    {"40303", "제조원가 > 재료비", {{1, "매입환출및에누리", "원재료 반품·에누리"}}},
    {"40304", "제조원가 > 재료비", {{1, "매입할인", "원재료 조기 결제 할인"}}},
    {"40305", "제조원가 > 재료비", {{1, "타계정대체", "원재료 타계정 대체"}}},
    {"40401", "제조원가", {{1, "당기총제조비용", "당기 제조 투입 합계"}}},
    {"40402", "제조원가", {{1, "기초재공품재고액", "기초 재공품"}}},
    {"40501", "공사원가 > 재료비", {{1, "공사재료비", "현장 투입 자재"}}},
    {"40901", "영업외수익", {{1, "이자수익", "예금·대여금 이자"}, {2, "배당금수익", "보유 주식 배당"}, {3, "잡이익", "기타 영업외 수익"}}},
    {"41201", "특별이익", {{1, "자산수증이익", "무상 증여 받은 자산"}, {2, "보험차익", "보험금 수령 차익"}}},
};

QString codeOf(const QString& key, int number)
{
    return key + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')) + QStringLiteral("000");
}

void addRow(DemoTable& t, const QString& code, const QString& name, const QString& bigo, const QString& codeSet,
            const QString& key)
{
    t.rows.append({code, name, bigo, codeSet, key.mid(0, 1), key.mid(1, 2), key.mid(3, 2)});
}

void addCategory(DemoTable& t, const Category& c)
{
    const QString key = QString::fromUtf8(c.key);
    for (const Account& a : c.accounts)
        addRow(t, codeOf(key, a.number), QString::fromUtf8(a.name),
               QString::fromUtf8(c.classification) + QStringLiteral(" : ") + QString::fromUtf8(a.note),
               QStringLiteral("SSSSS"), key);
}

} // namespace

DemoTable cashAccount()
{
    DemoTable t;
    t.table = QStringLiteral("test_ac_code");
    t.columns = QStringList{QStringLiteral("ac_code"),    QStringLiteral("ac_name"), QStringLiteral("bigo"),
                            QStringLiteral("code_kubun"), QStringLiteral("a_kubun"), QStringLiteral("b_kubun"),
                            QStringLiteral("c_kubun")};
    addRow(t, codeOf(QStringLiteral("10101"), 1), QStringLiteral("현금"),
           QStringLiteral("자산 > 유동자산 > 당좌자산 : 보유 현금 및 소액현금"), QStringLiteral("SSSSS"),
           QStringLiteral("10101"));
    return t;
}

DemoTable accounts()
{
    DemoTable t = cashAccount();
    for (const Category& c : kListed)
        addCategory(t, c);
    for (const Category& c : kExcluded)
        addCategory(t, c);

    const QString sssss = QStringLiteral("SSSSS");
    // Placeholders the company may rename; the lookup never offers them.
    addRow(t, QStringLiteral("10101099000"), QStringLiteral("회사설정계정"),
           QStringLiteral("자산 > 유동자산 > 당좌자산 : 회사 지정 예비 계정"), sssss, QStringLiteral("10101"));
    addRow(t, QStringLiteral("40701099000"), QStringLiteral("판관비 회사설정계정 1"),
           QStringLiteral("판매비와관리비 > 일반관리비 : 회사 지정 예비 계정"), sssss, QStringLiteral("40701"));
    // Closing accounts: a category no group of the lookup names.
    addRow(t, QStringLiteral("50101001000"), QStringLiteral("집합손익"), QStringLiteral("결산 > 손익 대체"), sssss,
           QStringLiteral("50101"));
    addRow(t, QStringLiteral("50101002000"), QStringLiteral("잔액"), QStringLiteral("결산 > 잔액 대체"), sssss,
           QStringLiteral("50101"));
    // The former chart, kept under another code set.
    const QString former = QStringLiteral("KKKKK");
    addRow(t, QStringLiteral("10101003000"), QStringLiteral("보통예금(구)"), QStringLiteral("구 계정체계 : 보통예금"),
           former, QStringLiteral("10101"));
    addRow(t, QStringLiteral("40701001000"), QStringLiteral("급여(구)"), QStringLiteral("구 계정체계 : 급여"), former,
           QStringLiteral("40701"));
    addRow(t, QStringLiteral("40701004000"), QStringLiteral("복리후생비(구)"),
           QStringLiteral("구 계정체계 : 복리후생비"), former, QStringLiteral("40701"));
    return t;
}

} // namespace schema::demo
