#!/usr/bin/env python3
"""Generates the sample fleet: sample_fleet.txt (failure data) and gar_sample.txt
(warranty end times). Standard library only; the fixed seed makes the files reproducible.

True model (what a good fit should recover):
  Weibull failure flow, shape A = 1.3, scale B = 4000 h, repeat coefficient K = 3.0
  (failures per product over the whole Weibull life), fleet of 400 products;
  warranty exit time normal with mean 3000 h and SD 800 h.
Each product fails Poisson(K) times over its life, each failure at a Weibull(A, B) time;
a failure is observed only before the product leaves warranty. A few manufacturing defects
(time below 1 h) are added on top of the model.
"""

import math
import random

SEED = 20240611
A = 1.3  # Weibull shape
B = 4000.0  # Weibull scale, h
K = 3.0  # repeat coefficient
PARK = 400  # fleet size
SRED_GAR = 3000.0  # mean warranty exit, h
SKO_GAR = 800.0  # SD of warranty exit, h
DEFECTS = 6  # failures found before operation
GAR_TIMES = 300  # warranty end times in gar_sample.txt

# Cause name (as listed in the file), relative frequency, cause texts used in failure
# lines (each contains the name, in any case), descriptions.
CAUSES = [
    ("Датчик давления", 14, ["Датчик давления", "датчик давления масла", "ДАТЧИК ДАВЛЕНИЯ ДМ-2"],
     ["обрыв провода", "нет сигнала", "завышенные показания", "течь по резьбе"]),
    ("Топливный насос", 12, ["Топливный насос", "топливный насос ТН-10"],
     ["не развивает давление", "шум при работе", "заклинивание привода"]),
    ("Генератор", 11, ["Генератор", "генератор Г-273", "Генератор 28В"],
     ["нет зарядки", "износ щеток", "пробой диодного моста"]),
    ("Стартер", 9, ["Стартер", "стартер СТ-142"],
     ["не проворачивает", "залипание втягивающего реле", "износ бендикса"]),
    ("Термостат", 8, ["Термостат", "термостат системы охлаждения"],
     ["не открывается", "перегрев двигателя", "заклинивание клапана"]),
    ("Блок управления", 8, ["Блок управления", "блок управления двигателем"],
     ["сбой программы", "окисление контактов", "нет связи по шине"]),
    ("Водяной насос", 7, ["Водяной насос", "водяной насос ВН-3"],
     ["течь по сальнику", "люфт вала", "шум подшипника"]),
    ("Ремень привода", 6, ["Ремень привода", "ремень привода генератора"],
     ["обрыв", "расслоение", "проскальзывание"]),
    ("Форсунка", 6, ["Форсунка", "форсунка 3-го цилиндра"],
     ["закоксовывание", "подтекание", "нарушен факел распыла"]),
    ("Радиатор", 5, ["Радиатор", "радиатор охлаждения"],
     ["течь в сотах", "трещина бачка", "засорение"]),
    ("Электропроводка", 5, ["Электропроводка", "электропроводка жгута моторного отсека"],
     ["перетирание изоляции", "короткое замыкание", "окисление разъема"]),
    ("Турбокомпрессор", 4, ["Турбокомпрессор", "турбокомпрессор ТКР-7"],
     ["люфт ротора", "выброс масла", "разрушение крыльчатки"]),
]
# Failures naming no listed cause (they go to "Другие").
OTHER = [("Фара левая", ["разбит рассеиватель", "перегорела лампа"]),
         ("Замок двери", ["заедание", "сломан привод"]),
         ("Стеклоочиститель", ["не работает на второй скорости", "износ щеток"])]
OTHER_WEIGHT = 5
DEFECT_TEXTS = [("Генератор", "не работает при приемке"),
                ("Датчик давления", "дефект при входном контроле"),
                ("Блок управления", "не проходит самотестирование"),
                ("Электропроводка", "неверная распиновка разъема"),
                ("Форсунка", "негерметична при приемке"),
                ("Термостат", "нет маркировки, забракован")]


def poisson(rng, lam):
    # Knuth's method: fine for a small mean.
    limit, k, p = math.exp(-lam), 0, 1.0
    while True:
        p *= rng.random()
        if p <= limit:
            return k
        k += 1


def time_text(rng, t):
    s = f"{t:.1f}"
    return s.replace(".", ",") if rng.random() < 0.15 else s


def failure_line(rng, t):
    total = sum(c[1] for c in CAUSES) + OTHER_WEIGHT
    pick = rng.uniform(0, total)
    for name, weight, texts, descriptions in CAUSES:
        pick -= weight
        if pick < 0:
            return f"{time_text(rng, t)}\t{rng.choice(texts)} * {rng.choice(descriptions)}"
    text, descriptions = rng.choice(OTHER)
    return f"{time_text(rng, t)}\t{text} * {rng.choice(descriptions)}"


def main():
    rng = random.Random(SEED)
    lines = []
    for _ in range(PARK):
        exit_time = rng.gauss(SRED_GAR, SKO_GAR)
        for _ in range(poisson(rng, K)):
            t = rng.weibullvariate(B, A)  # (scale, shape)
            if 1.0 <= t < exit_time:
                lines.append(failure_line(rng, t))
    for k in range(DEFECTS):
        cause, description = DEFECT_TEXTS[k % len(DEFECT_TEXTS)]
        lines.append(f"{rng.choice(['0', '0.5', '0,2'])}\t{cause} * {description}")
    rng.shuffle(lines)
    assert all(len(line) > 20 for line in lines)
    assert all(len(c[0]) <= 20 for c in CAUSES)
    header = ["Парк изделий серии 7 (пример)", f"{SRED_GAR:g}", f"{SKO_GAR:g}", str(PARK),
              str(len(lines)), str(len(CAUSES))]
    text = "\r\n".join(header + [c[0] for c in CAUSES] + lines) + "\r\n"
    with open("sample_fleet.txt", "wb") as f:
        f.write(text.encode("cp1251"))

    gar = ["Времена окончания гарантии, парк серии 7 (пример)"]
    gar += [f"{max(rng.gauss(SRED_GAR, SKO_GAR), 1.0):.1f}" for _ in range(GAR_TIMES)]
    with open("gar_sample.txt", "wb") as f:
        f.write(("\r\n".join(gar) + "\r\n").encode("cp1251"))
    print(f"sample_fleet.txt: {len(lines)} failures; gar_sample.txt: {GAR_TIMES} times")


if __name__ == "__main__":
    main()
