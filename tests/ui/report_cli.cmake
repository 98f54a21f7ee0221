# weibflow --help in Russian, none of QCommandLineParser's English; an unknown option is a
# usage error in Russian too.
execute_process(COMMAND ${GUI} --help OUTPUT_VARIABLE help RESULT_VARIABLE hrc)
foreach(want "^Использование: [^\n]*weibflow \\[ПАРАМЕТРЫ\\] \\[ФАЙЛ\\]\n"
             "\nПараметры:\n  -h, --help +показать эту справку и выйти\n"
             "--report <ФАЙЛ.pdf> +рассчитать ФАЙЛ без окон" "\nАргументы:\n  ФАЙЛ +файл данных")
  if(NOT hrc EQUAL 0 OR NOT help MATCHES "${want}")
    message(FATAL_ERROR "weibflow --help (exit ${hrc}) lacks «${want}»:\n${help}")
  endif()
endforeach()
if(help MATCHES "Usage|Options|Arguments|Displays|virtual clock|search seed|offscreen")
  message(FATAL_ERROR "weibflow --help has English text:\n${help}")
endif()
execute_process(COMMAND ${GUI} --report ${OUT} --nosuch ${SAMPLE} RESULT_VARIABLE urc
                ERROR_VARIABLE uerr)
if(NOT urc EQUAL 2 OR NOT uerr MATCHES "Ошибка в командной строке: неизвестный параметр «nosuch»")
  message(FATAL_ERROR "an unknown option gave ${urc}: ${uerr}")
endif()

# weibflow --report on the sample: exit 0, a PDF under 2 MB whose text holds every model
# column heading and every legend entry of the charts (the file name is read only up to
# its "fl", which the PDF may draw as one glyph); a usage error exits with 2.
execute_process(COMMAND ${GUI} --report ${OUT} --models spiral,newton,smirnov,mle,genetic,external
                        --eval-cost-us 100 --seed 7 ${SAMPLE}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "weibflow --report ended with ${rc}: ${err}")
endif()
file(SIZE ${OUT} size)
if(size GREATER 2000000 OR size LESS 10000)
  message(FATAL_ERROR "report is ${size} bytes")
endif()
execute_process(COMMAND pdftotext -raw ${OUT} - OUTPUT_VARIABLE text RESULT_VARIABLE prc)
if(NOT prc EQUAL 0)
  message(FATAL_ERROR "pdftotext failed")
endif()
string(REPLACE "\n" " " text "${text}")
foreach(want "Пирсона/Ньютона" "Пирсона/спир.спуск" "Критерий Смирнова" "Генетическая" "Golang"
             "Макс. правдоподобие" "Данные эксплуатации" "Отказов/изд. за 2000/4000 ч"
             "Модель по Смирнову" "Pirson/СС 1.1 ценз." "Генетическая без ценз." "Go Генетич."
             "Pirson/Newton 1.2 ценз." "Выбывание, %" "Фактич. накопление на 1 изделие"
             "Линия наименьших квадратов" "Турбокомпрессор 19 раз" "Файл данных: sample_"
             "Закон ухода с гарантии: среднее 3000 ч, СКО 800 ч; время приработки 300 ч")
  string(FIND "${text}" "${want}" at)
  if(at LESS 0)
    message(FATAL_ERROR "report lacks «${want}»")
  endif()
endforeach()
execute_process(COMMAND ${GUI} --report ${OUT} --models nosuch ${SAMPLE} RESULT_VARIABLE rc2
                ERROR_VARIABLE err2)
if(NOT rc2 EQUAL 2 OR NOT err2 MATCHES "Неизвестная модель")
  message(FATAL_ERROR "a bad model name gave ${rc2}: ${err2}")
endif()
execute_process(COMMAND ${GUI} --report ${OUT} ${SAMPLE}.missing RESULT_VARIABLE rc3)
if(NOT rc3 EQUAL 1)
  message(FATAL_ERROR "a missing data file gave ${rc3}")
endif()
