# One static library per module: every source file of the folder, so adding a
# file needs no edit here.
function(corlando_modulo nome)
  cmake_parse_arguments(M "" "" "DEPENDE" ${ARGN})
  file(GLOB fontes CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER fontes EXCLUDE REGEX "/main\\.cpp$")
  add_library(${nome} STATIC ${fontes})
  target_include_directories(${nome} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR})
  target_link_libraries(${nome} PUBLIC ${M_DEPENDE})
endfunction()

# One GoogleTest program per test folder, every .cpp of the folder in it.
# NIVEL says which application object the test main creates: Core (the
# default), Gui (fonts and painting, for documents) or Widgets (screens).
function(corlando_testes nome)
  cmake_parse_arguments(T "" "NIVEL" "DEPENDE" ${ARGN})
  file(GLOB fontes CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT fontes)
    return()
  endif()
  add_executable(${nome} ${fontes} ${PROJECT_SOURCE_DIR}/tests/support/main_testes.cpp)
  target_link_libraries(${nome} PRIVATE ${T_DEPENDE} apoio_testes GTest::gtest Qt6::Test)
  # The source tree, for the shipped templates the tests render.
  target_compile_definitions(${nome} PRIVATE PASTA_FONTES="${PROJECT_SOURCE_DIR}")
  if(T_NIVEL STREQUAL "Widgets")
    target_compile_definitions(${nome} PRIVATE TESTES_JANELAS)
    target_link_libraries(${nome} PRIVATE Qt6::Widgets)
  elseif(T_NIVEL STREQUAL "Gui")
    target_compile_definitions(${nome} PRIVATE TESTES_GRAFICOS)
    target_link_libraries(${nome} PRIVATE Qt6::Gui)
  endif()
  gtest_discover_tests(${nome}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
