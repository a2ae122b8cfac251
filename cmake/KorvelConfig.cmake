# Deployment values are built in. The defaults point at the local substitute server,
# so a fresh build runs against `korvel-b2b-server` on this machine.
set(KORVEL_SERVER_HOST "127.0.0.1" CACHE STRING "Remote server host (internet)")
set(KORVEL_SERVER_PORT "9090" CACHE STRING "Remote server port")
set(KORVEL_LAN_HOST "127.0.0.1" CACHE STRING "Remote server host inside the office LAN")
set(KORVEL_OFFICE_ADDRESS "203.0.113.10" CACHE STRING "External address of the office; clients seen from it use the LAN host")
set(KORVEL_WEB_SITE_HOST "127.0.0.1:8080" CACHE STRING "Wholesaler web-site host name (menu caption and home page)")
set(KORVEL_WEB_BASE_ADDRESS "http://127.0.0.1:8080/" CACHE STRING "Web base address (request form, pictures, virtual POS)")
set(KORVEL_LAN_WEB_BASE_ADDRESS "http://127.0.0.1:8080/" CACHE STRING "Web base address inside the office LAN")
set(KORVEL_WHATS_MY_IP_ADDRESS "http://127.0.0.1:8080/ip" CACHE STRING "What-is-my-IP service")
set(KORVEL_INSTALLER_HOST "http://127.0.0.1:8080" CACHE STRING "Host of the installer download")
set(KORVEL_DISK_ALIAS_SERIALS "WDC0WX11A1234XY;S3Z9NB0K123456Z" CACHE STRING "Two disk serials (15 letters and digits) that stand for one computer")
set(KORVEL_DISK_ALIAS_ID "100000000042" CACHE STRING "Computer identifier (12 digits) used for the two alias serials")
set(KORVEL_CLIENT_VERSION "2" CACHE STRING "The client's own version number")

list(GET KORVEL_DISK_ALIAS_SERIALS 0 KORVEL_DISK_ALIAS_SERIAL_1)
list(GET KORVEL_DISK_ALIAS_SERIALS 1 KORVEL_DISK_ALIAS_SERIAL_2)
configure_file(${CMAKE_SOURCE_DIR}/cmake/buildconfig.h.in ${CMAKE_BINARY_DIR}/generated/buildconfig.h @ONLY)
