# The release date (IMGCRYPT_RELEASE_DATE, YYYY-MM-DD) in the form a Debian
# changelog wants it, noon UTC: IMGCRYPT_RELEASE_CHANGELOG_DATE, e.g.
# "Tue, 08 Dec 2026 12:00:00 +0000".
if(NOT IMGCRYPT_RELEASE_DATE MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "IMGCRYPT_RELEASE_DATE is not YYYY-MM-DD: ${IMGCRYPT_RELEASE_DATE}")
endif()
# Days since 1970-01-01 of a proleptic Gregorian date (March-based years, so
# the leap day comes last).
math(EXPR _year "${CMAKE_MATCH_1}")
math(EXPR _month "${CMAKE_MATCH_2}")
math(EXPR _day "${CMAKE_MATCH_3}")
if(_month LESS_EQUAL 2)
    math(EXPR _year "${_year} - 1")
    math(EXPR _month "${_month} + 9")
else()
    math(EXPR _month "${_month} - 3")
endif()
math(EXPR _days "${_year} * 365 + ${_year} / 4 - ${_year} / 100 + ${_year} / 400 + (153 * ${_month} + 2) / 5 + ${_day} - 1 - 719468")
# string(TIMESTAMP) formats the moment SOURCE_DATE_EPOCH names.
set(_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
math(EXPR _noon "${_days} * 86400 + 43200")
set(ENV{SOURCE_DATE_EPOCH} ${_noon})
string(TIMESTAMP IMGCRYPT_RELEASE_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${_saved_epoch}")
unset(_saved_epoch)
unset(_noon)
unset(_days)
unset(_year)
unset(_month)
unset(_day)
