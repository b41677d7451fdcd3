#include "koreanwords.h"

namespace admin {

namespace {

QStringList split(const char* utf8)
{
    return QString::fromUtf8(utf8).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

const QStringList& surnames()
{
    static const QStringList list = split("김 이 박 최 정 강 조 윤 장 임 한 오 서 신 권 황 안 송 전 홍 유 고 문 양 손 배 백 허 남 심 노 하 곽 성 차 주 우 구 민 나");
    return list;
}

const QStringList& givenSyllables()
{
    static const QStringList list = split("민 서 지 현 준 영 수 예 하 은 도 윤 우 진 성 훈 혜 경 미 정 호 재 동 석 철 희 숙 연 아 유 "
                                          "상 태 승 원 나 다 소 보 주 환 기 용 선 명 광 규 범 찬 빈 혁 건 웅 종 덕 순 옥 란 인 식");
    return list;
}

const QStringList& companyStems()
{
    static const QStringList list = split("한빛 대성 삼정 우리 동방 신흥 태양 한국 서울 부산 대구 광주 미래 한성 청솔 제일 다인 동아 세원 하나 "
                                          "명성 새한 대한 중앙 한양 성원 금강 백두 한라 동서 극동 대림 삼화 영진 유진 경동 천일 국제 "
                                          "보광 신일 진성 태광 삼양 동일 우성 효성 대진 성진 세광 신영 한진 대원 남양 서해 동해 푸른 늘봄");
    return list;
}

const QStringList& companyKinds()
{
    static const QStringList list = split("상사 산업 물산 전자 유통 건설 식품 기계 정밀 화학 섬유 인쇄 운수 무역 테크 정보통신 "
                                          "엔지니어링 디자인 컨설팅 개발 종합상사 전기 설비 공업 제약 물류 인테리어 문구 광고 기획");
    return list;
}

const QStringList& banks()
{
    static const QStringList list = split("국민은행 신한은행 우리은행 하나은행 기업은행 농협 외환은행 조흥은행 부산은행 대구은행 "
                                          "광주은행 경남은행 전북은행 제주은행 우체국 수협 새마을금고 신협 산업은행 씨티은행");
    return list;
}

const QStringList& places()
{
    static const QStringList list = split("종로 명동 강남 역삼 여의도 서초 잠실 신촌 영등포 수원 인천 부평 일산 분당 안양 천안 청주 대전 "
                                          "둔산 전주 광주 상무 목포 여수 순천 대구 동성로 포항 울산 부산 서면 해운대 창원 마산 진주 제주 "
                                          "춘천 원주 강릉 구미 경주 안산 평택 김해");
    return list;
}

const QStringList& departmentStems()
{
    static const QStringList list = split("경영지원 회계 인사 총무 전산 영업 마케팅 해외영업 생산 품질관리 구매 연구개발 물류 "
                                          "고객지원 기획 법무 감사 설계 자재 안전관리 자금 교육 시설관리 홍보");
    return list;
}

const QStringList& projectObjects()
{
    static const QStringList list = split("물류센터 사옥 공장 매장 전산시스템 신제품 홈페이지 연구소 대리점 창고 생산라인 "
                                          "교육센터 전시장 기숙사 주차장 전산실 콜센터 서비스센터");
    return list;
}

const QStringList& projectActions()
{
    static const QStringList list = split("신축 증설 리모델링 구축 개발 이전 개설 개선 도입 정비 확장 보수");
    return list;
}

const QStringList& itemObjects()
{
    static const QStringList list = split("사무용품 복사용지 토너 유류대 통행료 택배비 회식비 경조사비 도서 교육비 전화요금 인터넷사용료 "
                                          "전기요금 수도요금 공구 작업복 안전화 소모품 주차료 식대 다과 청소용품 우편료 수리비 "
                                          "임차료 보험료 광고물 판촉물 명함 인쇄물 전산소모품 의약품 생수 방역비 세탁비");
    return list;
}

const QStringList& qualifiers()
{
    static const QStringList list = split("본사 서울 부산 대구 광주 대전 수도권 지방 수출 내수 1팀 2팀 3팀 현장 공장 연구소 "
                                          "임원 직원 정기 임시 특별 일반 국내 해외 단기 장기 A B C 기타 소액 거액 "
                                          "1분기 2분기 3분기 4분기 상반기 하반기 관리 영업 생산");
    return list;
}

const QStringList& positions()
{
    static const QStringList list = split("사원 주임 대리 과장 차장 부장 팀장 이사 상무 지점장");
    return list;
}

const QStringList& descriptions()
{
    static const QStringList list = {
        QStringLiteral("%1 지급"),        QStringLiteral("%1 대금 지급"),   QStringLiteral("%1 구입"),
        QStringLiteral("%1 정산"),        QStringLiteral("%1 비용 지출"),   QStringLiteral("%1 관련 경비"),
        QStringLiteral("%1 선급"),        QStringLiteral("%1 현금 지급"),   QStringLiteral("%1 외 다수 지급"),
        QStringLiteral("%1 출장 경비"),   QStringLiteral("%1 월분 지급"),   QStringLiteral("%1 잔금 지급"),
    };
    return list;
}

} // namespace admin
