# Preview pictures of the library browser: each device with a demo preset from
# data/examples/ is rendered by radove-cli at build time into the 250 x 135
# picture its device_lib.icon_small names (preview/CODE.png in the runtime
# folder). A device without a demo has no picture and the browser shows none.
# To add one, put the demo CSV in data/examples/ and add "CODE NAME" below.
set(radove_previews
  "100000 led_on"
  "100090 traffic_light"
  "700000 lcm1601_demo"
  "700001 lcm1602_hello"
  "700002 lcm2002_demo"
  "700003 lcm3202_demo"
  "700004 lcm4002_demo"
  "700005 lcm1604_demo"
  "700006 lcm2004_demo"
  "700010 lcm1601_uart_demo"
  "700020 lcm1602_uart_demo"
  "700030 lcm2002_uart_demo"
  "700040 lcm3202_uart_demo"
  "700050 lcm4002_uart_demo"
  "700060 lcm1604_uart_demo"
  "700070 lcm2004_uart_demo"
)

set(radove_preview_dir ${RADOVE_RUNTIME_DIR}/preview)
set(radove_preview_outputs)
foreach(preview ${radove_previews})
  separate_arguments(preview)
  list(GET preview 0 code)
  list(GET preview 1 name)
  set(csv ${CMAKE_CURRENT_LIST_DIR}/examples/${name}.csv)
  set(png ${radove_preview_dir}/${code}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${radove_preview_dir}
    COMMAND radove-cli render --device ${code} --preset ${csv} --out ${png} --size 250x135
    DEPENDS radove-cli ${csv}
    COMMENT "Rendering the preview picture of device ${code}"
    VERBATIM)
  list(APPEND radove_preview_outputs ${png})
endforeach()
add_custom_target(radove_previews ALL DEPENDS ${radove_preview_outputs})
